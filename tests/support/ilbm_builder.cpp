#include "ilbm_builder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace planora::test {

static void PutWord(Buf& out, uint32_t v) { out.insert(out.end(), {uint8_t(v >> 8), uint8_t(v)}); }
static void PutLong(Buf& out, uint32_t v) { PutWord(out, v >> 16); PutWord(out, v); }

// The words big-endian, after the bytes in d.
static Buf Words(const std::vector<uint16_t>& words, Buf d = {}) {
    for (uint16_t w : words) PutWord(d, w);
    return d;
}

static Buf Append(Buf a, const Buf& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

IlbmBuilder& IlbmBuilder::Chunk(const std::string& id, const Buf& data) {
    if (id.size() != 4) throw std::invalid_argument("IFF identifiers have 4 characters: " + id);
    chunks_.insert(chunks_.end(), id.begin(), id.end());
    PutLong(chunks_, uint32_t(data.size()));
    chunks_ = Append(std::move(chunks_), data);
    if (data.size() % 2 == 1) chunks_.push_back(0);
    return *this;
}

// The 20 BMHD data bytes.
static Buf BmhdData(const BmhdFields& f) {
    Buf d = Words({uint16_t(f.Width), uint16_t(f.Height), uint16_t(f.Xpos), uint16_t(f.Ypos)});
    d.insert(d.end(), {f.Bitplanes, f.Masking, f.Packtype, f.Pad1});
    d = Words({uint16_t(f.TransparentColour)}, d);
    d.insert(d.end(), {f.XAspectRatio, f.YAspectRatio});
    return Words({uint16_t(f.PageWidth), uint16_t(f.PageHeight)}, d);
}

IlbmBuilder& IlbmBuilder::Bmhd(const BmhdFields& f) { return Chunk("BMHD", BmhdData(f)); }

IlbmBuilder& IlbmBuilder::Cmap(const std::vector<uint32_t>& rgb24) {
    Buf d;
    for (uint32_t c : rgb24) d.insert(d.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    return Chunk("CMAP", d);
}

IlbmBuilder& IlbmBuilder::Camg(uint32_t modeId) { return Chunk("CAMG", Words({uint16_t(modeId >> 16), uint16_t(modeId)})); }
IlbmBuilder& IlbmBuilder::Ctbl(const std::vector<uint16_t>& words) { return Chunk("CTBL", Words(words)); }
IlbmBuilder& IlbmBuilder::Sham(const std::vector<uint16_t>& words) { return Chunk("SHAM", Words(words, {0, 0})); }

Buf IlbmBuilder::Bytes() const {
    Buf out = {'F', 'O', 'R', 'M'};
    PutLong(out, formLength_ ? *formLength_ : uint32_t(formType_.size() + chunks_.size()));
    out.insert(out.end(), formType_.begin(), formType_.end());
    out.insert(out.end(), chunks_.begin(), chunks_.end());
    return out;
}

void IlbmBuilder::WriteTo(const std::string& path) const { WriteBytes(path, Bytes()); }

static Buf PackByteRun1(const Buf& row) {
    Buf out;
    for (size_t i = 0, n = row.size(); i < n;) {
        size_t run = 1;
        while (i + run < n && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 3) {
            out.insert(out.end(), {uint8_t(257 - run), row[i]});  // -(run - 1) as a signed byte
            i += run;
            continue;
        }
        // A literal run up to the next run of three equal bytes.
        const size_t start = i;
        while (i < n && i - start < 128 && !(i + 2 < n && row[i] == row[i + 1] && row[i] == row[i + 2])) ++i;
        out.push_back(uint8_t(i - start - 1));
        out.insert(out.end(), row.begin() + std::ptrdiff_t(start), row.begin() + std::ptrdiff_t(i));
    }
    return out;
}

// Bit `bit` of each value as one plane row, 16-bit padded.
static Buf BitRow(int32_t width, int bit, const auto& value) {
    Buf bytes(size_t((width + 15) / 16 * 2), 0);
    for (int32_t x = 0; x < width; ++x)
        if ((value(x) >> bit) & 1) bytes[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    return bytes;
}

static Buf PlaneRow(const IndexPicture& pic, int32_t row, int plane) {
    return BitRow(pic.Width, plane, [&](int32_t x) { return pic.At(x, row); });
}

static void Put(Buf& body, const Buf& row, Packing packing) {
    body = Append(std::move(body), packing == Packing::ByteRun1 ? PackByteRun1(row) : row);
}

static Buf EncodeBody(const IndexPicture& pic, const BodyOptions& o) {
    Buf body;
    for (int32_t y = 0; y < pic.Height; ++y) {
        for (int p = 0; p < o.Planes; ++p) Put(body, PlaneRow(pic, y, p), o.Compression);
        if (o.MaskPlane) Put(body, Buf(size_t((pic.Width + 15) / 16 * 2), o.MaskByte), o.Compression);
    }
    return body;
}

IlbmBuilder& IlbmBuilder::Body(const IndexPicture& p, const BodyOptions& o) { return Chunk("BODY", EncodeBody(p, o)); }

Buf EncodePbmBody(const IndexPicture& pic, Packing packing) {
    Buf body;
    for (int32_t y = 0; y < pic.Height; ++y) {
        Buf row(size_t(pic.Width + (pic.Width & 1)), 0);  // padded to an even length
        for (int32_t x = 0; x < pic.Width; ++x) row[size_t(x)] = pic.At(x, y);
        Put(body, row, packing);
    }
    return body;
}

Buf EncodeAbit(const IndexPicture& pic, int planes) {
    Buf data;
    for (int p = 0; p < planes; ++p)
        for (int32_t y = 0; y < pic.Height; ++y) Put(data, PlaneRow(pic, y, p), Packing::Raw);
    return data;
}

Buf EncodeDeepBody(int32_t width, int32_t height, const std::vector<uint32_t>& argb, int planes, Packing packing) {
    Buf body;
    for (int32_t y = 0; y < height; ++y)
        for (int p = 0; p < planes; ++p)  // plane p is bit p % 8 of component p / 8: red, green, blue, alpha
            Put(body, BitRow(width, (p < 24 ? 16 - 8 * (p / 8) : 24) + p % 8,
                             [&](int32_t x) { return argb[size_t(y) * size_t(width) + size_t(x)]; }),
                packing);
    return body;
}

// The code tree over the sorted symbols [lo, hi): the lower half behind a 0
// bit, the upper half behind a 1 bit. Appends the subtree's words so that its
// entry word comes last: a leaf behind a 0 bit is 0x100 | symbol; a node's
// word is its 1-side leaf's symbol, or minus twice the distance back to its
// 1-side subtree, and its 0-side entry word lies just before it.
static void AppendCodeTree(const Buf& symbols, size_t lo, size_t hi, const std::string& prefix,
                           std::vector<int32_t>& words, std::vector<std::string>& codes) {
    const size_t mid = (lo + hi) / 2;
    if (hi - lo == 1) {
        words.push_back(0x100 | symbols[lo]);
        codes[symbols[lo]] = prefix;
    } else if (hi - mid == 1) {
        AppendCodeTree(symbols, lo, mid, prefix + "0", words, codes);
        words.push_back(symbols[mid]);
        codes[symbols[mid]] = prefix + "1";
    } else {
        AppendCodeTree(symbols, mid, hi, prefix + "1", words, codes);
        const size_t zeroStart = words.size();
        AppendCodeTree(symbols, lo, mid, prefix + "0", words, codes);
        words.push_back(-2 * int32_t(words.size() - zeroStart + 1));
    }
}

// Huffman-packs data in the PCHG layout: the tree as big-endian words, root
// last, and the code bits, most significant first, in whole longwords.
static void PchgHuffman(const Buf& data, Buf& tree, Buf& bits) {
    Buf symbols;
    for (int v = 0; v < 256; ++v)
        if (std::find(data.begin(), data.end(), uint8_t(v)) != data.end()) symbols.push_back(uint8_t(v));
    while (symbols.size() < 2) symbols.push_back(symbols.empty() || symbols[0] != 0 ? 0 : 1);  // a tree needs two leaves
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
    bits.resize((bits.size() + 3) / 4 * 4, 0);
}

Buf PchgData(const PchgOptions& o, const std::vector<PchgLine>& lines) {
    Buf data(size_t((o.LineCount + 31) / 32) * 4, 0);
    uint32_t maxChanges = 0, totalChanges = 0;
    for (const PchgLine& line : lines) {
        const int32_t bit = line.Line - o.StartLine;
        data[size_t(bit / 8)] |= uint8_t(0x80 >> (bit % 8));
        const size_t changes = o.BigChanges ? line.Big.size() : line.Low.size() + line.High.size();
        maxChanges = std::max(maxChanges, uint32_t(changes));
        totalChanges += uint32_t(changes);
        if (o.BigChanges) {
            PutWord(data, uint32_t(line.Big.size()));
            for (const PchgBigChange& c : line.Big) {
                PutWord(data, c.Register);
                data.insert(data.end(), {c.Alpha, c.Red, c.Blue, c.Green});
            }
        } else {
            data.insert(data.end(), {uint8_t(line.Low.size()), uint8_t(line.High.size())});
            data = Words(line.High, Words(line.Low, std::move(data)));
        }
    }
    Buf chunk = Words({uint16_t(o.Huffman ? 1 : 0), uint16_t(o.BigChanges ? 2 : 1),
                         uint16_t(o.StartLine), uint16_t(o.LineCount), uint16_t(lines.size()), 0, 255,
                         uint16_t(maxChanges)});
    PutLong(chunk, totalChanges);
    if (!o.Huffman) return Append(std::move(chunk), data);
    Buf tree, bits;
    PchgHuffman(data, tree, bits);
    PutLong(chunk, uint32_t(tree.size()));
    PutLong(chunk, uint32_t(data.size()));
    return Append(Append(std::move(chunk), tree), bits);
}

void WriteBytes(const std::string& path, const Buf& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

Buf ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Buf(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace planora::test
