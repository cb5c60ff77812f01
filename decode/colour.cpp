#include "decode/colour.h"

namespace planora {

std::string Hex(int32_t value) {
    static const char kDigits[] = "0123456789abcdef";
    const uint32_t bits = static_cast<uint32_t>(value);
    std::string text = "$";
    for (int shift = 24; shift >= 0; shift -= 4) text += kDigits[(bits >> shift) & 0xF];
    return text;
}

}  // namespace planora
