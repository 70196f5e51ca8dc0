// Status codes of the engine.
//
// Every engine operation returns a signed 32-bit status: 0 is success, -1, -2
// and -3 are the general failures, and category * 1000 + number names a
// documented error whose message error_text.h gives. A status may travel
// negated; the message lookup matches it by absolute value.
#pragma once

namespace inkrec {

inline constexpr int kOk = 0;
inline constexpr int kOutOfMemory = -1;   // also a general low-level failure
inline constexpr int kBadArgument = -2;   // null pointer, argument out of range, broken index
inline constexpr int kUndocumented = -3;  // an error without a code of its own
inline constexpr int kNoMessage = -4;     // error-text lookup: a code inside the range without a row
inline constexpr int kPieceNotFound = -5;
inline constexpr int kFigureWithoutPoints = -8;
inline constexpr int kRejected = -100;    // a rejected candidate, or an absent optional file

// 1: pane geometry
inline constexpr int kPaneEmptySegment = 1001;
inline constexpr int kPaneNoPointArray = 1002;
inline constexpr int kPaneFigureWithoutLine = 1003;
inline constexpr int kPaneNoBaselineForUmlaut = 1004;
// 2: scaling and line geometry
inline constexpr int kZeroScaleX = 2001;
inline constexpr int kZeroScaleY = 2002;
inline constexpr int kBadLineAngle = 2003;
// 3: data file and data modes
inline constexpr int kSaveInRecognitionOnlyMode = 3001;
inline constexpr int kDataFileOpen = 3002;
inline constexpr int kDataFileWriteHeader = 3003;
inline constexpr int kDataFileWrite = 3004;
inline constexpr int kDataFileEmpty = 3005;
inline constexpr int kDataFileReadHeader = 3006;
inline constexpr int kDataFileRead = 3007;
inline constexpr int kDataFileCorrupt = 3008;
inline constexpr int kDataFileBadHeader = 3009;
inline constexpr int kDataFileBadChunk = 3010;
inline constexpr int kDataFileElementSize = 3011;
inline constexpr int kDataFileChunkSize = 3012;
inline constexpr int kSaveBaselineCount = 3013;
inline constexpr int kSaveExtendedCount = 3014;
inline constexpr int kSaveCoefficientCount = 3015;
inline constexpr int kDataNotFound = 3016;
inline constexpr int kBadDataMode = 3017;
// 4: kernel and recognition
inline constexpr int kNoKernel = 4001;
inline constexpr int kLetterInterfaceInit = 4002;
inline constexpr int kLineInterfaceInit = 4003;
inline constexpr int kNoPane = 4004;
inline constexpr int kAddFigureMainPane = 4005;
inline constexpr int kAddFigureSubPane = 4006;
inline constexpr int kNoActiveCharSet = 4007;
inline constexpr int kNoLineBaselines = 4008;
inline constexpr int kNoOutputSymbols = 4009;
inline constexpr int kNothingRecognized = 4010;
inline constexpr int kNoFigurePassport = 4011;
inline constexpr int kNoFigureVariants = 4012;
inline constexpr int kNoVariantParameters = 4013;
inline constexpr int kNoRecognitionInterfaces = 4014;
inline constexpr int kNoStgsInfo = 4015;
inline constexpr int kStgsNotFound = 4016;
inline constexpr int kNoPaneStatistics = 4017;
inline constexpr int kBadEnvironmentParameter = 4018;
inline constexpr int kDataFileNotOpen = 4019;
inline constexpr int kNoDataFileName = 4020;
inline constexpr int kDataManagerCreate = 4021;
inline constexpr int kTrainingStrokeUnrecognized = 4022;
inline constexpr int kTrainingSymbolNotFound = 4023;
inline constexpr int kRecognitionInterfaceCreate = 4024;
inline constexpr int kVariantWritingNotFound = 4025;
inline constexpr int kEmptyVariant = 4026;
inline constexpr int kVariantNotInList = 4027;
inline constexpr int kSymbolNotInList = 4028;
inline constexpr int kKernelsExist = 4029;
inline constexpr int kBaseVariantNotFound = 4030;
inline constexpr int kVariantIsBase = 4031;
inline constexpr int kVariantNumberNotFound = 4032;
inline constexpr int kBaselineLimits = 4033;
inline constexpr int kStopped = 4034;
inline constexpr int kNoBaselines = 4035;
inline constexpr int kNoGroupVariant = 4036;
// 5: pane figures
inline constexpr int kFigureDistance = 5001;
inline constexpr int kElementRecognition = 5002;
inline constexpr int kTooManyPanePoints = 5003;
inline constexpr int kAddPaneFigure = 5004;
// 6: languages and charsets
inline constexpr int kLanguageNotFound = 6001;
inline constexpr int kLanguageNotInSet = 6002;
inline constexpr int kCharSetNotLanguage = 6003;
inline constexpr int kCharSetNotFound = 6004;
inline constexpr int kMixedWritingDirections = 6005;
// 7: RAF features
inline constexpr int kRafPointOutOfY = 7001;
inline constexpr int kRafIndexOutOfY = 7002;
inline constexpr int kRafNotNormalizedX = 7003;
inline constexpr int kRafNotNormalizedY = 7004;
inline constexpr int kRafSplitY = 7005;
inline constexpr int kRafSplitX = 7006;
inline constexpr int kRafChordBounds = 7007;
inline constexpr int kRafCrossingRasterSize = 7008;
inline constexpr int kRafDescriptionCount = 7009;
inline constexpr int kRafTooLittleData = 7010;
// 8: shape tags
inline constexpr int kBadShapeTag = 8001;
inline constexpr int kShapeStrokeBufferFull = 8002;
inline constexpr int kShapePointBufferFull = 8003;
// 9: kernel manager
inline constexpr int kBadKernelId = 9001;
inline constexpr int kKernelAlreadyDeleted = 9002;
inline constexpr int kNoKernelToActivate = 9003;
inline constexpr int kNoDataStore = 9004;
// 10: word lists
inline constexpr int kWordListNotFound = 10001;
inline constexpr int kWordListOpen = 10002;
// 11: user dictionaries (their operations return 1..14; the message of n is row 11000 + n)
inline constexpr int kUserDictionaryBase = 11000;
// 12: files
inline constexpr int kFileIo = 12001;
// 13: database records
inline constexpr int kCharSetMissing = 13001;
inline constexpr int kCharSetExists = 13002;
inline constexpr int kSymbMissing = 13003;
inline constexpr int kSymbExists = 13004;
inline constexpr int kCharSetSymbMissing = 13005;
inline constexpr int kCharSetSymbExists = 13006;
inline constexpr int kVariantMissing = 13007;
inline constexpr int kShapeMissing = 13008;
inline constexpr int kRafMissing = 13009;
inline constexpr int kRafTooDifferent = 13010;
inline constexpr int kSymbInUse = 13011;   // a charset still holds the symbol
inline constexpr int kShapeInUse = 13012;  // a variant still refers to the shape
// A data file's charset symbol names a charset or symbol it does not hold.
inline constexpr int kCharSetSymbReferenceMissing = 13013;
// 14: knowledge base
inline constexpr int kKbVariantNotFound = 14001;
inline constexpr int kKbVariantTooDifferent = 14002;
inline constexpr int kKbNoEtalon = 14003;
inline constexpr int kKbBrokenIndex = 14004;
inline constexpr int kKbBadVariantSet = 14005;
inline constexpr int kKbUnexpectedInterface = 14006;
inline constexpr int kKbBadRaf = 14007;
inline constexpr int kKbNoShape = 14008;
inline constexpr int kKbShapeWithoutSamples = 14009;
inline constexpr int kKbIndexBuild = 14010;

}  // namespace inkrec
