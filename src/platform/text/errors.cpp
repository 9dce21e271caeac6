#include "platform/text/errors.h"

#include <string>

#include "platform/text/gbk.h"

namespace orlu {

ListIndexError::ListIndexError(long long index)
    : Error("List index out of bounds (" + std::to_string(index) + ")") {}

ConvertError::ConvertError(const std::string& text)
    : Error(Gbk("“") + text + Gbk("”不是有效的整数")) {}

}  // namespace orlu
