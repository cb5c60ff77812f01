// Loading an IFF ILBM file: the FORM/ILBM check, the BMHD, and the walk over
// the chunks that follow.
//
//   "FORM" <length> "ILBM"  then chunks: <id:4> <length:4> <data> [pad byte]
//
// Per-line palettes come from CTBL, SHAM, BEAM, RAST or PCHG chunks
// (iff/line_palette.h); when any of the others is there, a PCHG chunk is
// left unused.
//
// The same walk reads the relatives of ILBM that the table of forms
// (iff/form_table.h) marks as such, each row saying how its pixels are
// stored (chunky rows, whole planes, runs of one colour); forms of chunks
// of their own go to their row's reader.
//
// The BMHD (bitmap header) is normally the first chunk; chunks that come
// before it (ANNO, NAME ...) are handled, in file order, once it has been
// read, and the walk then goes on from the chunk after it. The walk ends when
// the cursor reaches the FORM length or when no whole chunk header is left in
// the file.
#include <algorithm>
#include <limits>
#include <new>

#include "iff/cmyk_palette.h"
#include "iff/container.h"
#include "iff/file_system.h"
#include "iff/form_table.h"
#include "iff/line_tables.h"
#include "iff/pchg.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
constexpr int32_t kMaxBitplanes = 8;

}  // namespace

void PictureContext::BeginLoad(const std::string& Filename) {
    SourceName = StripExtension(GetFileName(Filename));
    SourcePath = Filename;
    IlbmInfo.FormSize = 0;
    CachePos = 0;
    IlbmInfo.HeaderSize = 0;
    IlbmInfo.DisplayMode = IlbmInfo.HalfBriteFlag = IlbmInfo.HamFlag = 0;
    IlbmInfo.DynamicPaletteFlag = IlbmInfo.InterlaceFlag = 0;
    IlbmInfo.Width = IlbmInfo.Height = 0;
    LinePalettes = {};
    PictureCount = 0;
    ContainerType.clear();
    PaletteFromCmap = false;
    ColourRanges.clear();
    FormStart = 0;
    rowsReported_ = false;
}

int16_t PictureContext::Load_IFF_To_Array(const std::string& Filename) {
    BeginLoad(Filename);

    if (!FileExists(Filename)) {
        if (observer_) observer_->ShowMessage("Error- File Doesn't Exist");
        return 0;
    }
    Load_TemplateFile_to_cache(Filename);
    return LoadCachedFile();
}

int16_t PictureContext::Load_IFF_From_Memory(const std::string& Filename, std::vector<uint8_t> bytes) {
    BeginLoad(Filename);

    bytes.push_back(0);
    bytes.push_back(0);
    FileCache.assign(bytes.begin(), bytes.end());
    return LoadCachedFile();
}

void PictureContext::ForgetPicture() {
    IlbmInfo.Width = 0;
    IlbmInfo.Height = 0;
    SourceName.clear();
    PictureLoaded = 0;
}

int16_t PictureContext::LoadCachedFile() {
    ContainedPicture contained = SelectContainedPicture(FileBytes(), PictureIndex);
    PictureCount = contained.Count;
    ContainerType = contained.ContainerType;
    if (contained.Form) FileCache = std::move(*contained.Form);
    else if (!ContainerType.empty()) return 0;
    // Forms of chunks of their own have a reader of their own.
    const ByteReader file(FileBytes());
    if (file.Size() >= kGroupHeaderBytes && file.LongAt(0) == ChunkId("FORM"))
        if (const FormRow* form = FindForm(file.LongAt(8)); form && form->Load) return form->Load(*this);
    if (iff_check_if_File_is_iffbitmap() == -1) return 0;
    const int64_t bmhdDataStart = CachePos;
    Iff_Read_BitMAP_header();
    // Beyond 8 planes only the deep ILBM layouts are understood.
    if (IlbmInfo.Bitplanes > kMaxBitplanes && !IsDeepPicture()) throw RunTimeError(kInvalidFileFormat);
    Iff_Create_P2C_Word_Table();
    AllocateImages();

    const uint32_t headerSize = static_cast<uint32_t>(IlbmInfo.HeaderSize);
    WalkChunks(bmhdChunkStart_, bmhdDataStart + PaddedLength(headerSize));

    IFF_Show_Image_info();
    Iff_PalleteMap_Image();
    PictureLoaded = 1;
    return 1;
}

int16_t PictureContext::iff_check_if_File_is_iffbitmap() {
    CachePos = 0;
    if (IFF_Get_String() != "FORM") return -1;
    IlbmInfo.FormSize = ConvertToLong(Iff_Read_Long());
    FormType = IFF_Get_String();
    // A FORM ANIM starts with a whole FORM ILBM, its first frame: that FORM
    // loads as the picture, and the offsets of the walk start from it.
    if (FormType == "ANIM" && IFF_Get_String() == "FORM") {
        FormStart = 12;
        IlbmInfo.FormSize = ConvertToLong(Iff_Read_Long());
        FormType = IFF_Get_String();
    }
    if (!IsBitmapWalkForm(FormTypeId(FormType))) return -1;

    // Find the BMHD, passing over whatever chunks come before it. A BODY
    // before the header cannot be decoded, so such a file is not accepted.
    const int64_t length = static_cast<int64_t>(CachedLength());
    while (CachePos + kChunkHeaderBytes <= length) {
        const int64_t chunkStart = CachePos;
        const std::string id = IFF_Get_String();
        const uint32_t chunkLength = Iff_Read_Long();
        if (id == "BMHD") {
            IlbmInfo.HeaderSize = ConvertToLong(chunkLength);
            bmhdChunkStart_ = chunkStart;
            return 0;
        }
        if (id == "BODY") return -1;
        CachePos += PaddedLength(chunkLength);
    }
    return -1;
}

void PictureContext::Iff_Read_BitMAP_header() {
    IlbmInfoRecord& info = IlbmInfo;
    info.Width = Iff_Read_Word();
    info.Height = Iff_Read_Word();
    info.Xpos = Iff_Read_Word();
    info.Ypos = Iff_Read_Word();
    info.Bitplanes = Iff_Read_Byte();
    info.Masking = Iff_Read_Byte();
    info.Packtype = Iff_Read_Byte();
    info.Pad1 = Iff_Read_Byte();
    info.TransparentColour = Iff_Read_Word();
    info.XAspectRatio = Iff_Read_Byte();
    info.YAspectRatio = Iff_Read_Byte();
    info.PageWidth = Iff_Read_Word();
    info.PageHeight = Iff_Read_Word();
    info.DisplayMode = 0;
    info.HalfBriteFlag = 0;
    info.HamFlag = 0;
    info.DynamicPaletteFlag = 0;
    info.InterlaceFlag = 0;
    info.ModeID = 0;
}

void PictureContext::AllocateImages() {
    const int32_t width = IlbmInfo.Width;
    const int32_t height = IlbmInfo.Height;
    if (width < 0 || height < 0) throw RunTimeError(kSubscriptOutOfRange);
    const size_t elements = size_t(width + 1) * size_t(height + 1);
    // Checked before anything is freed or allocated.
    const int64_t bytes = int64_t(elements) * int64_t(sizeof(uint32_t) + sizeof(uint8_t));
    if (bytes > ImageByteBudget) throw RunTimeError(kOutOfMemory);
    try {
        // Drop the old arrays first so that two pictures never need to fit at once.
        ColourImage = {};
        ChunkyImage = {};
        AlphaImage = {};
        ColourImage = PixelArray<uint32_t>(elements);
        ChunkyImage = PixelArray<uint8_t>(elements);
    } catch (const std::bad_alloc&) {
        ColourImage = {};
        ChunkyImage = {};
        throw RunTimeError(kOutOfMemory);
    }
    imageStride_ = width + 1;
    imageRows_ = height + 1;
}

bool PictureContext::IsDeepPicture() const {
    const FormRow* form = FindForm(FormTypeId(FormType));
    if (form && form->HoldsColours) return true;
    const int32_t planes = IlbmInfo.Bitplanes;
    return FormType == "ILBM" && (planes == 24 || planes == 32 || planes == 48 || planes == 64);
}

void PictureContext::WalkChunks(int64_t bmhdChunkStart, int64_t firstChunkAfterBmhd) {
    bool camgSeen = false;
    IlbmInfo.MapAfterLoad = 0;

    // Chunks placed before the BMHD were only passed over by the check.
    CachePos = FormStart + 12;
    while (CachePos < bmhdChunkStart) WalkOneChunk(camgSeen);

    const int64_t fileLength = static_cast<int64_t>(CachedLength());
    CachePos = firstChunkAfterBmhd;
    do {
        if (CachePos + kChunkHeaderBytes > fileLength) break;
        WalkOneChunk(camgSeen);
    } while (CachePos < FormStart + IlbmInfo.FormSize);
}

void PictureContext::WalkOneChunk(bool& camgSeen) {
    const std::string id = IFF_Get_String();
    const uint32_t length = Iff_Read_Long();
    const int64_t dataStart = CachePos;
    HandleChunk(id, length, camgSeen);
    CachePos = dataStart + PaddedLength(length);
}

void PictureContext::HandleChunk(const std::string& id, uint32_t length, bool& camgSeen) {
    const FormRow* form = FindForm(FormTypeId(FormType));
    if (form && form->ReadPixels && FormTypeId(id) == form->PixelChunk) {
        BeforeRowsChange();
        form->ReadPixels(*this, length);
        if (!camgSeen) IlbmInfo.MapAfterLoad = -1;
    } else if (id == "CMAP") {
        IFF_LOAD_PALLETTE(ConvertToLong(length));
        PaletteFromCmap = true;
    } else if (id == "CMYK") {
        // A CMAP, wherever it is in the file, takes precedence.
        const int32_t size = ConvertToLong(length);
        if (!PaletteFromCmap) {
            // From the chunk's data on, the cache's two zero bytes included.
            const ByteReader cache(ByteSpan(FileCache.data(), FileCache.size()));
            const std::vector<uint32_t> colours = CmykColours(cache.Slice(CachePos, cache.Size()), size, kPaletteEntries);
            for (size_t i = 0; i < colours.size(); ++i) {
                const uint32_t c = colours[i];
                Palette[i] = FilePalette[i] = c;
                HalfBritePalette[i] = ((c >> 16) / 2) << 16 | (((c >> 8) & 0xFF) / 2) << 8 | (c & 0xFF) / 2;
            }
        }
    } else if (id == "CAMG") {
        iff_load_CAMG_DISPLAYMODE();
        camgSeen = true;
    } else if (id == "CTBL") {
        Iff_Load_DYNAMIC_Pallettes(ConvertToLong(length));
    } else if (id == "SHAM") {
        const int32_t size = ConvertToLong(length);
        TakeLineTable(ReadSham(ChunkDataAtCursor(size), size, IlbmInfo.Height, IlbmInfo.InterlaceFlag == 1));
    } else if (id == "PCHG") {
        TakePaletteChanges(ReadPaletteChanges(ChunkDataAtCursor(length), IlbmInfo.Height));
    } else if (id == "BEAM") {
        const int32_t size = ConvertToLong(length);
        if (auto table = ReadBeam(ChunkDataAtCursor(size), size, IlbmInfo.Height)) TakeLineTable(std::move(*table));
    } else if (id == "RAST") {
        // Lines before the first entry keep the colours of the CMAP as read so far.
        if (auto table = ReadRast(ChunkDataAtCursor(ConvertToLong(length)), IlbmInfo.Height, FilePalette))
            TakeLineTable(std::move(*table));
    } else if (id == "CRNG" || id == "CCRT" || id == "DRNG") {
        const ByteSpan data = ChunkDataAtCursor(length);
        ColourRanges.push_back(id == "CRNG" ? ReadCrng(data) : id == "CCRT" ? ReadCcrt(data) : ReadDrng(data));
    }
}

}  // namespace planora
