#include "output/byterun1_packer.h"

#include <algorithm>

namespace planora {

namespace {
constexpr size_t kMaxRun = 128;

size_t RunLength(std::span<const uint8_t> row, size_t at) {
    size_t end = at + 1;
    while (end < row.size() && end - at < kMaxRun && row[end] == row[at]) ++end;
    return end - at;
}

void AppendLiterals(std::span<const uint8_t> bytes, std::vector<uint8_t>& out) {
    for (size_t at = 0; at < bytes.size(); at += kMaxRun) {
        const size_t count = std::min(kMaxRun, bytes.size() - at);
        out.push_back(uint8_t(count - 1));
        out.insert(out.end(), bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + count));
    }
}
}  // namespace

void PackByteRun1(std::span<const uint8_t> row, std::vector<uint8_t>& out) {
    const size_t start = out.size();
    size_t literalStart = 0, at = 0;
    while (at < row.size()) {
        const size_t run = RunLength(row, at);
        if (run < 3) {
            at += run;
            continue;
        }
        AppendLiterals(row.subspan(literalStart, at - literalStart), out);
        out.push_back(uint8_t(257 - run));
        out.push_back(row[at]);
        at += run;
        literalStart = at;
    }
    AppendLiterals(row.subspan(literalStart), out);
    // Short runs that split literal stretches can cost a control byte more
    // than they save: then the row goes out plain.
    if (out.size() - start > MaxByteRun1Size(row.size())) {
        out.resize(start);
        AppendLiterals(row, out);
    }
}

}  // namespace planora
