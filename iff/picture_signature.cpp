#include "iff/picture_signature.h"

#include "iff/byte_reader.h"
#include "iff/form_table.h"

namespace planora {

bool LooksLikePicture(const uint8_t* head, size_t size) {
    if (size < kSignatureBytes) return false;
    const ByteReader in(head, size);
    const uint32_t group = in.LongAt(0), type = in.LongAt(8);
    if (group == ChunkId("FORM")) return FindForm(type) != nullptr;
    if (group == ChunkId("CAT ") || group == ChunkId("LIST")) return IsPictureForm(type) || type == ChunkId("    ");
    return false;
}

}  // namespace planora
