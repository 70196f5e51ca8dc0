#include "appplatform/draw/shared_screen.h"

#include <cstring>
#include <string_view>

#include "appplatform/shared_memory.h"

namespace ductra::platform {
namespace {

constexpr std::u16string_view kScreenName = u"screen";

bool valid_screen_side(std::uint32_t side) { return side >= 1 && side <= kMaxScreenSide; }

std::size_t block_size(std::uint32_t stride_bytes, std::uint32_t height) {
  return sizeof(ScreenHeader) + std::size_t{stride_bytes} * height;
}

// The mapping and the bitmap drawn on it, owned together.
struct MappedScreen {
  SharedMemory memory;
  std::shared_ptr<Bitmap> bitmap;
};

Status bitmap_on(SharedMemory memory, const ScreenHeader& header, std::shared_ptr<Bitmap>* screen) {
  auto mapped = std::make_shared<MappedScreen>();
  mapped->memory = std::move(memory);
  mapped->bitmap = Bitmap::create_on_memory(static_cast<int>(header.width), static_cast<int>(header.height),
                                            mapped->memory.bytes().subspan(sizeof(ScreenHeader)),
                                            static_cast<int>(header.stride_bytes));
  if (!mapped->bitmap) return Status::corrupt;
  *screen = std::shared_ptr<Bitmap>(mapped, mapped->bitmap.get());
  return Status::ok;
}

ScreenHeader header_of(const SharedMemory& memory) {
  ScreenHeader header{};
  std::memcpy(&header, memory.bytes().data(), sizeof header);
  return header;
}

}  // namespace

Status create_shared_screen(const RuntimeDir& dir, int width, int height, std::shared_ptr<Bitmap>* screen) {
  if (width < 1 || width > kMaxScreenSide || height < 1 || height > kMaxScreenSide) {
    return Status::invalid_argument;
  }
  const ScreenHeader header{kScreenMagic, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                            static_cast<std::uint32_t>((width * 2 + 3) / 4 * 4)};
  SharedMemory memory;
  bool created = false;
  const Status opened =
      SharedMemory::open(dir, kScreenName, block_size(header.stride_bytes, header.height), &memory, &created);
  if (opened != Status::ok) return opened;
  if (!created) return Status::already_exists;
  std::memcpy(memory.bytes().data(), &header, sizeof header);
  return bitmap_on(std::move(memory), header, screen);
}

Status open_shared_screen(const RuntimeDir& dir, std::shared_ptr<Bitmap>* screen) {
  SharedMemory memory;
  bool created = false;
  Status status = SharedMemory::open(dir, kScreenName, sizeof(ScreenHeader), &memory, &created);
  if (status != Status::ok) return status;
  if (created) return Status::not_found;  // closing the block we made removes it again
  const ScreenHeader header = header_of(memory);
  if (header.magic != kScreenMagic || !valid_screen_side(header.width) || !valid_screen_side(header.height) ||
      header.stride_bytes < header.width * 2 || header.stride_bytes > kMaxScreenSide * 4) {
    return Status::corrupt;
  }
  SharedMemory whole;
  status = SharedMemory::open(dir, kScreenName, block_size(header.stride_bytes, header.height), &whole);
  if (status != Status::ok) return status;
  if (std::memcmp(&header, whole.bytes().data(), sizeof header) != 0) return Status::corrupt;
  return bitmap_on(std::move(whole), header, screen);
}

}  // namespace ductra::platform
