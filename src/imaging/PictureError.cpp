#include "imaging/PictureError.h"

namespace imaging {

PictureError::PictureError(Kind kind, const std::string& fileName, const std::string& detail)
    : std::runtime_error("Cannot load picture \"" + fileName + "\": " + detail),
      kind_(kind),
      fileName_(fileName) {}

}  // namespace imaging
