// The ranking detail page's placeholder thumbnail, a 202 x 147 JPEG.
#pragma once

namespace orlu {

extern const unsigned char kAlexaPlaceholderJpeg[];
extern const unsigned long kAlexaPlaceholderJpegSize;

}  // namespace orlu
