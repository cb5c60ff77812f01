#include "ilbm_builder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace planora::test {

void PutWord(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

void PutLong(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value >> 24));
    out.push_back(uint8_t(value >> 16));
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

static void PutId(std::vector<uint8_t>& out, const std::string& id) {
    if (id.size() != 4) throw std::invalid_argument("IFF identifiers have 4 characters: " + id);
    out.insert(out.end(), id.begin(), id.end());
}

IlbmBuilder& IlbmBuilder::FormType(std::string type) {
    formType_ = std::move(type);
    return *this;
}

IlbmBuilder& IlbmBuilder::FormLength(uint32_t length) {
    formLength_ = length;
    return *this;
}

IlbmBuilder& IlbmBuilder::FormId(std::string id) {
    formId_ = std::move(id);
    return *this;
}

IlbmBuilder& IlbmBuilder::Chunk(const std::string& id, const std::vector<uint8_t>& data) {
    ChunkWithLength(id, uint32_t(data.size()), data);
    if (data.size() % 2 == 1) chunks_.push_back(0);
    return *this;
}

IlbmBuilder& IlbmBuilder::ChunkWithLength(const std::string& id, uint32_t declaredLength,
                                          const std::vector<uint8_t>& data) {
    PutId(chunks_, id);
    PutLong(chunks_, declaredLength);
    chunks_.insert(chunks_.end(), data.begin(), data.end());
    return *this;
}

IlbmBuilder& IlbmBuilder::Raw(const std::vector<uint8_t>& bytes) {
    chunks_.insert(chunks_.end(), bytes.begin(), bytes.end());
    return *this;
}

std::vector<uint8_t> BmhdData(const BmhdFields& f) {
    std::vector<uint8_t> d;
    PutWord(d, uint32_t(f.Width));
    PutWord(d, uint32_t(f.Height));
    PutWord(d, uint32_t(f.Xpos));
    PutWord(d, uint32_t(f.Ypos));
    d.push_back(f.Bitplanes);
    d.push_back(f.Masking);
    d.push_back(f.Packtype);
    d.push_back(f.Pad1);
    PutWord(d, uint32_t(f.TransparentColour));
    d.push_back(f.XAspectRatio);
    d.push_back(f.YAspectRatio);
    PutWord(d, uint32_t(f.PageWidth));
    PutWord(d, uint32_t(f.PageHeight));
    return d;
}

IlbmBuilder& IlbmBuilder::Bmhd(const BmhdFields& fields) { return Chunk("BMHD", BmhdData(fields)); }

IlbmBuilder& IlbmBuilder::Bmhd(int32_t width, int32_t height, int planes, uint8_t packtype, uint8_t masking) {
    BmhdFields f;
    f.Width = width;
    f.Height = height;
    f.Bitplanes = uint8_t(planes);
    f.Packtype = packtype;
    f.Masking = masking;
    return Bmhd(f);
}

IlbmBuilder& IlbmBuilder::Cmap(const std::vector<uint32_t>& rgb24) {
    std::vector<uint8_t> d;
    for (uint32_t c : rgb24) {
        d.push_back(uint8_t(c >> 16));
        d.push_back(uint8_t(c >> 8));
        d.push_back(uint8_t(c));
    }
    return Chunk("CMAP", d);
}

IlbmBuilder& IlbmBuilder::Camg(uint32_t modeId) {
    std::vector<uint8_t> d;
    PutLong(d, modeId);
    return Chunk("CAMG", d);
}

IlbmBuilder& IlbmBuilder::Ctbl(const std::vector<uint16_t>& words) {
    std::vector<uint8_t> d;
    for (uint16_t w : words) PutWord(d, w);
    return Chunk("CTBL", d);
}

IlbmBuilder& IlbmBuilder::Sham(const std::vector<uint16_t>& words) {
    std::vector<uint8_t> d;
    PutWord(d, 0);
    for (uint16_t w : words) PutWord(d, w);
    return Chunk("SHAM", d);
}

IlbmBuilder& IlbmBuilder::Pchg(const std::vector<uint8_t>& data) { return Chunk("PCHG", data); }

IlbmBuilder& IlbmBuilder::Body(const IndexPicture& picture, const BodyOptions& options) {
    return Chunk("BODY", EncodeBody(picture, options));
}

IlbmBuilder& IlbmBuilder::Body(const std::vector<uint8_t>& bytes) { return Chunk("BODY", bytes); }

std::vector<uint8_t> IlbmBuilder::Bytes() const {
    std::vector<uint8_t> out;
    out.insert(out.end(), formId_.begin(), formId_.end());
    PutLong(out, formLength_ ? *formLength_ : uint32_t(formType_.size() + chunks_.size()));
    out.insert(out.end(), formType_.begin(), formType_.end());
    out.insert(out.end(), chunks_.begin(), chunks_.end());
    return out;
}

void IlbmBuilder::WriteTo(const std::string& path) const { WriteBytes(path, Bytes()); }

int32_t PlaneRowBytes(int32_t width) { return 2 * ((width + 15) / 16); }

std::vector<uint8_t> PlaneRow(const IndexPicture& picture, int32_t row, int plane) {
    std::vector<uint8_t> bytes(size_t(PlaneRowBytes(picture.Width)), 0);
    for (int32_t x = 0; x < picture.Width; ++x) {
        if ((picture.At(x, row) >> plane) & 1) bytes[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    }
    return bytes;
}

std::vector<uint8_t> EncodeBody(const IndexPicture& picture, const BodyOptions& options) {
    std::vector<uint8_t> body;
    auto put = [&](const std::vector<uint8_t>& row) {
        const std::vector<uint8_t> stored = options.Compression == Packing::ByteRun1 ? PackByteRun1(row) : row;
        body.insert(body.end(), stored.begin(), stored.end());
    };
    for (int32_t y = 0; y < picture.Height; ++y) {
        for (int p = 0; p < options.Planes; ++p) put(PlaneRow(picture, y, p));
        if (options.MaskPlane) put(std::vector<uint8_t>(size_t(PlaneRowBytes(picture.Width)), options.MaskByte));
    }
    return body;
}

std::vector<uint8_t> PackByteRun1(const std::vector<uint8_t>& row) {
    std::vector<uint8_t> out;
    size_t i = 0;
    const size_t n = row.size();
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 3) {
            out.push_back(uint8_t(257 - run));  // -(run - 1) as a signed byte
            out.push_back(row[i]);
            i += run;
            continue;
        }
        // Literal run up to the next run of three equal bytes.
        size_t start = i;
        size_t len = 0;
        while (i < n && len < 128) {
            if (i + 2 < n && row[i] == row[i + 1] && row[i] == row[i + 2]) break;
            ++i;
            ++len;
        }
        out.push_back(uint8_t(len - 1));
        out.insert(out.end(), row.begin() + std::ptrdiff_t(start), row.begin() + std::ptrdiff_t(start + len));
    }
    return out;
}

std::vector<uint8_t> EncodePbmBody(const IndexPicture& picture, Packing compression) {
    std::vector<uint8_t> body;
    for (int32_t y = 0; y < picture.Height; ++y) {
        std::vector<uint8_t> row(size_t(picture.Width + (picture.Width & 1)), 0);
        for (int32_t x = 0; x < picture.Width; ++x) row[size_t(x)] = picture.At(x, y);
        const std::vector<uint8_t> stored = compression == Packing::ByteRun1 ? PackByteRun1(row) : row;
        body.insert(body.end(), stored.begin(), stored.end());
    }
    return body;
}

std::vector<uint8_t> EncodeAbit(const IndexPicture& picture, int planes) {
    std::vector<uint8_t> data;
    for (int p = 0; p < planes; ++p) {
        for (int32_t y = 0; y < picture.Height; ++y) {
            const std::vector<uint8_t> row = PlaneRow(picture, y, p);
            data.insert(data.end(), row.begin(), row.end());
        }
    }
    return data;
}

std::vector<uint8_t> EncodeDeepBody(int32_t width, int32_t height, const std::vector<uint32_t>& argb, int planes,
                                    Packing compression) {
    std::vector<uint8_t> body;
    for (int32_t y = 0; y < height; ++y) {
        for (int p = 0; p < planes; ++p) {
            // Plane p is bit (p % 8) of component p / 8: red, green, blue, alpha.
            const int shift = (p < 24 ? 16 - 8 * (p / 8) : 24) + p % 8;
            std::vector<uint8_t> row(size_t(PlaneRowBytes(width)), 0);
            for (int32_t x = 0; x < width; ++x)
                if ((argb[size_t(y) * size_t(width) + size_t(x)] >> shift) & 1) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
            const std::vector<uint8_t> stored = compression == Packing::ByteRun1 ? PackByteRun1(row) : row;
            body.insert(body.end(), stored.begin(), stored.end());
        }
    }
    return body;
}

std::vector<uint8_t> VdatChunk(const std::vector<int8_t>& commands, const std::vector<uint16_t>& words) {
    std::vector<uint8_t> data;
    PutWord(data, uint32_t(commands.size() + 2));
    for (int8_t c : commands) data.push_back(uint8_t(c));
    for (uint16_t w : words) PutWord(data, w);
    std::vector<uint8_t> chunk = {'V', 'D', 'A', 'T'};
    PutLong(chunk, uint32_t(data.size()));
    chunk.insert(chunk.end(), data.begin(), data.end());
    if (data.size() % 2 == 1) chunk.push_back(0);
    return chunk;
}

namespace {
// The code tree over the sorted symbols [lo, hi): the lower half behind a 0
// bit, the upper half behind a 1 bit. Appends the subtree's words so that its
// entry word comes last: a leaf behind a 0 bit is 0x100 | symbol; a node's
// word is its 1-side leaf's symbol, or minus twice the distance back to its
// 1-side subtree, and its 0-side entry word lies just before it.
void AppendCodeTree(const std::vector<uint8_t>& symbols, size_t lo, size_t hi, const std::string& prefix,
                    std::vector<int32_t>& words, std::vector<std::string>& codes) {
    if (hi - lo == 1) {
        words.push_back(0x100 | symbols[lo]);
        codes[symbols[lo]] = prefix;
        return;
    }
    const size_t mid = (lo + hi) / 2;
    if (hi - mid == 1) {
        AppendCodeTree(symbols, lo, mid, prefix + "0", words, codes);
        words.push_back(symbols[mid]);
        codes[symbols[mid]] = prefix + "1";
        return;
    }
    AppendCodeTree(symbols, mid, hi, prefix + "1", words, codes);
    const size_t zeroStart = words.size();
    AppendCodeTree(symbols, lo, mid, prefix + "0", words, codes);
    words.push_back(-2 * int32_t(words.size() - zeroStart + 1));
}
}  // namespace

void PchgHuffman(const std::vector<uint8_t>& data, std::vector<uint8_t>& tree, std::vector<uint8_t>& bits) {
    std::vector<uint8_t> symbols;
    for (int v = 0; v < 256; ++v)
        if (std::find(data.begin(), data.end(), uint8_t(v)) != data.end()) symbols.push_back(uint8_t(v));
    // A tree needs two leaves.
    while (symbols.size() < 2) symbols.push_back(symbols.empty() || symbols[0] != 0 ? 0 : 1);
    std::sort(symbols.begin(), symbols.end());
    std::vector<int32_t> words;
    std::vector<std::string> codes(256);
    AppendCodeTree(symbols, 0, symbols.size(), "", words, codes);
    tree.clear();
    for (int32_t w : words) PutWord(tree, uint32_t(w) & 0xFFFF);
    bits.clear();
    size_t count = 0;
    for (uint8_t v : data)
        for (char c : codes[v]) {
            if (count % 8 == 0) bits.push_back(0);
            if (c == '1') bits.back() |= uint8_t(0x80 >> (count % 8));
            ++count;
        }
    while (bits.size() % 4 != 0) bits.push_back(0);
}

std::vector<uint8_t> PchgData(const PchgOptions& options, const std::vector<PchgLine>& lines) {
    std::vector<uint8_t> data(size_t((options.LineCount + 31) / 32) * 4, 0);
    uint32_t maxChanges = 0, totalChanges = 0;
    for (const PchgLine& line : lines) {
        const int32_t bit = line.Line - options.StartLine;
        data[size_t(bit / 8)] |= uint8_t(0x80 >> (bit % 8));
        const size_t changes = options.BigChanges ? line.Big.size() : line.Low.size() + line.High.size();
        maxChanges = std::max(maxChanges, uint32_t(changes));
        totalChanges += uint32_t(changes);
        if (options.BigChanges) {
            PutWord(data, uint32_t(line.Big.size()));
            for (const PchgBigChange& c : line.Big) {
                PutWord(data, c.Register);
                data.insert(data.end(), {c.Alpha, c.Red, c.Blue, c.Green});
            }
        } else {
            data.push_back(uint8_t(line.Low.size()));
            data.push_back(uint8_t(line.High.size()));
            for (uint16_t w : line.Low) PutWord(data, w);
            for (uint16_t w : line.High) PutWord(data, w);
        }
    }
    std::vector<uint8_t> chunk;
    PutWord(chunk, options.Huffman ? 1 : 0);
    PutWord(chunk, options.BigChanges ? 2 : 1);
    PutWord(chunk, uint32_t(options.StartLine) & 0xFFFF);
    PutWord(chunk, uint32_t(options.LineCount));
    PutWord(chunk, uint32_t(lines.size()));
    PutWord(chunk, 0);
    PutWord(chunk, 255);
    PutWord(chunk, maxChanges);
    PutLong(chunk, totalChanges);
    if (!options.Huffman) {
        chunk.insert(chunk.end(), data.begin(), data.end());
        return chunk;
    }
    std::vector<uint8_t> tree, bits;
    PchgHuffman(data, tree, bits);
    PutLong(chunk, uint32_t(tree.size()));
    PutLong(chunk, uint32_t(data.size()));
    chunk.insert(chunk.end(), tree.begin(), tree.end());
    chunk.insert(chunk.end(), bits.begin(), bits.end());
    return chunk;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace planora::test
