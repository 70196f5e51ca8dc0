#include "app/common/branding.h"

namespace ductra {

AboutPageKind Branding::about_page_kind() const {
  switch (variant()) {
    case 1:
      return AboutPageKind::partner;
    case 3:
      return AboutPageKind::lite;
    case 4:
      return AboutPageKind::partner_second;
    default:
      return AboutPageKind::standard;
  }
}

}  // namespace ductra
