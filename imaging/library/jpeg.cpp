// JPEG files through libjpeg-turbo: decoding straight into RGB888 or grey
// rows (at 1/1 to 1/8 of the size), encoding in colour or grey, header
// information. libjpeg reports errors by jumping back to the call that set up
// the jump; every libjpeg call below is made from such a call, and no C++
// object with a destructor lives in those frames after the jump is set.
#include "codecs.h"
#include "formats.h"
#include "jpegdc.h"
#include "jpegtables.h"
#include "orientation.h"

#include <csetjmp>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numeric>
#include <vector>

namespace sky {
namespace {

// A damaged progressive file may hold scans without end; real files have a few dozen.
constexpr int kMaxScans = 500;
constexpr int kProgressSteps = 1000;
// From this quality on, colour is written at full resolution.
constexpr int kFullColour = 90;

struct CoefficientStore;

struct Errors {
    jpeg_error_mgr pub{};
    std::jmp_buf jump;
    int status = Ok;
    CoefficientStore *store = nullptr;  // where a recoding keeps the coefficients
};

[[noreturn]] void fail(j_common_ptr cinfo, int status)
{
    auto *errors = reinterpret_cast<Errors *>(cinfo->err);
    errors->status = status;
    std::longjmp(errors->jump, 1);
}

int statusOf(int code, bool reading, bool atEnd)
{
    // Past the end of a file, whatever libjpeg then finds wrong comes of the cut.
    if (reading && atEnd && code != JERR_OUT_OF_MEMORY)
        return Truncated;
    switch (code) {
    case JERR_OUT_OF_MEMORY: return OutOfMemory;
    case JERR_INPUT_EMPTY:
    case JERR_NO_SOI: return BadFormat;
    case JERR_NO_IMAGE:
    case JERR_INPUT_EOF: return BadFormat;
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
    case JERR_NO_BACKING_STORE: return TooLarge;
    case JERR_ARITH_NOTIMPL:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_NOT_COMPILED:
    case JERR_BAD_PRECISION: return Unsupported;
    case JERR_FILE_READ: return ReadError;
    case JERR_FILE_WRITE: return WriteError;
    default: return reading ? BadFormat : Failed;
    }
}

// Reads the file in large blocks; at its end hands libjpeg an end marker so
// that a truncated file decodes with the missing part left grey.
struct Source {
    jpeg_source_mgr pub{};
    FILE *file = nullptr;
    std::vector<JOCTET> buffer = std::vector<JOCTET>(size_t(1) << 16);
    qint64 delivered = 0;  // bytes of the file handed to libjpeg
    bool atEnd = false;
};

boolean fillInput(j_decompress_ptr cinfo)
{
    auto *source = reinterpret_cast<Source *>(cinfo->src);
    size_t n = std::fread(source->buffer.data(), 1, source->buffer.size(), source->file);
    if (n == 0) {
        if (std::ferror(source->file))
            ERREXIT(cinfo, JERR_FILE_READ);
        if (source->delivered == 0)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        n = 2;
        source->atEnd = true;
    } else {
        source->delivered += qint64(n);
    }
    source->pub.next_input_byte = source->buffer.data();
    source->pub.bytes_in_buffer = n;
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    auto &pub = cinfo->src;
    while (count > long(pub->bytes_in_buffer)) {
        count -= long(pub->bytes_in_buffer);
        fillInput(cinfo);
    }
    if (count > 0) {
        pub->next_input_byte += count;
        pub->bytes_in_buffer -= size_t(count);
    }
}

void nothing(j_decompress_ptr) {}

// Reports progress and stops on request; also ends files with too many scans.
struct Monitor {
    jpeg_progress_mgr pub{};
    ProgressTracker *tracker = nullptr;
    qint64 best = 0;
};

void monitorProgress(j_common_ptr cinfo)
{
    auto *monitor = reinterpret_cast<Monitor *>(cinfo->progress);
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        fail(cinfo, BadFormat);
    const jpeg_progress_mgr &p = monitor->pub;
    const qint64 limit = std::max(1L, p.pass_limit);
    const qint64 passes = std::max(1, p.total_passes);
    const qint64 done = (p.completed_passes * limit + std::min<qint64>(p.pass_counter, limit)) *
                        kProgressSteps / (passes * limit);
    monitor->best = std::max(monitor->best, done);
    if (!monitor->tracker->step(monitor->best))
        fail(cinfo, Stopped);
}

void errorExit(j_common_ptr cinfo)
{
    const bool atEnd = cinfo->is_decompressor && cinfo->client_data &&
                       static_cast<Source *>(cinfo->client_data)->atEnd;
    fail(cinfo, statusOf(cinfo->err->msg_code, cinfo->is_decompressor, atEnd));
}

void countWarning(j_common_ptr cinfo, int level)
{
    if (level < 0)
        ++cinfo->err->num_warnings;
}

void silent(j_common_ptr) {}

void installErrors(Errors &errors)
{
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.emit_message = countWarning;
    errors.pub.output_message = silent;
}

struct Decoder {
    jpeg_decompress_struct cinfo{};
    Errors errors;
    Source source;
    Monitor monitor;
    QImage image;
    std::vector<uchar> cmyk;
    qint64 headerEnd = 0;
    int orientation = 1;  // EXIF: how the stored picture is turned upright

    explicit Decoder(FILE *file) { source.file = file; }
    ~Decoder() { jpeg_destroy_decompress(&cinfo); }
};

int readMarkers(Decoder &d)
{
    installErrors(d.errors);
    d.cinfo.err = &d.errors.pub;
    if (setjmp(d.errors.jump))
        return d.errors.status;
    jpeg_create_decompress(&d.cinfo);
    d.cinfo.client_data = &d.source;
    d.source.pub.init_source = nothing;
    d.source.pub.fill_input_buffer = fillInput;
    d.source.pub.skip_input_data = skipInput;
    d.source.pub.resync_to_restart = jpeg_resync_to_restart;
    d.source.pub.term_source = nothing;
    d.cinfo.src = &d.source.pub;
    jpeg_save_markers(&d.cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&d.cinfo, TRUE);
    d.headerEnd = d.source.delivered - qint64(d.source.pub.bytes_in_buffer);
    return Ok;
}

// The header, and the orientation of the first Exif APP1 segment (outside the jump's frame).
int readHeader(Decoder &d)
{
    if (const int status = readMarkers(d); status != Ok)
        return status;
    static constexpr char kExif[] = "Exif\0";  // and the string's own terminating zero
    for (jpeg_saved_marker_ptr m = d.cinfo.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= sizeof kExif &&
            std::equal(kExif, kExif + sizeof kExif, m->data)) {
            d.orientation = exifOrientation(m->data, m->data_length);
            break;
        }
    return Ok;
}

// A density in dots per metre; 0 where the file has none.
struct Density {
    qint64 x = 0;
    qint64 y = 0;
};

Density densityOf(int unit, int x, int y)
{
    // JFIF density unit 1: dots per inch, 2: dots per centimetre.
    if ((unit != 1 && unit != 2) || x == 0 || y == 0)
        return {};
    const double perMetre = unit == 1 ? 1 / 0.0254 : 100;
    return {std::llround(x * perMetre), std::llround(y * perMetre)};
}

Density densityOf(const jpeg_decompress_struct &c) { return densityOf(c.density_unit, c.X_density, c.Y_density); }

void setJfifDensity(jpeg_compress_struct &c, Density density)
{
    // Without a density of its own the file says only that pixels are square.
    const bool known = density.x > 0 && density.y > 0;
    const auto dpi = [](qint64 ppm) { return UINT16(std::clamp<qint64>(std::llround(ppm * 0.0254), 1, 65535)); };
    c.density_unit = known ? 1 : 0;
    c.X_density = known ? dpi(density.x) : 1;
    c.Y_density = known ? dpi(density.y) : 1;
}

// Adobe files store CMYK inverted (0 = full ink), others straight.
void cmykToRgb(const uchar *cmyk, int width, bool inverted, uchar *rgb)
{
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c)
            rgb[c] = uchar((inverted ? cmyk[c] : 255 - cmyk[c]) * k / 255);
    }
}

// Bytes of the DCT coefficients of the whole picture, 2 a coefficient, that a
// file of several scans (progressive ones) keeps until its last scan.
template <typename Codec>
qint64 coefficientBytes(const Codec &c)
{
    int maxH = 1, maxV = 1;
    for (int i = 0; i < c.num_components; ++i) {
        maxH = std::max(maxH, c.comp_info[i].h_samp_factor);
        maxV = std::max(maxV, c.comp_info[i].v_samp_factor);
    }
    const auto blocks = [](qint64 size, int factor, int max) {
        return (size * factor + qint64(8) * max - 1) / (qint64(8) * max);
    };
    qint64 total = 0;
    for (int i = 0; i < c.num_components; ++i) {
        const jpeg_component_info &comp = c.comp_info[i];
        total += blocks(c.image_width, comp.h_samp_factor, maxH) *
                 blocks(c.image_height, comp.v_samp_factor, maxV) * DCTSIZE2 * 2;
    }
    return total;
}

// Where the picture and libjpeg's own buffers would pass the budget of a reading.
int checkDecodingBudget(jpeg_decompress_struct &c)
{
    if (const int size = checkDecodedSize(c.output_width, c.output_height); size != Ok)
        return size;
    const qint64 picture = qint64(c.output_width) * c.output_height * 3;
    const qint64 coefficients = jpeg_has_multiple_scans(&c) ? coefficientBytes(c) : 0;
    if (picture + coefficients > kMaxDecodedBytes)
        return TooLarge;
    // What libjpeg may take beyond that (its row buffers) is bounded too.
    c.mem->max_memory_to_use = long(std::max<qint64>(kMaxDecodedBytes - picture, qint64(32) << 20));
    return Ok;
}

int decode(Decoder &d, int bits, int scale, ProgressTracker &tracker)
{
    if (setjmp(d.errors.jump)) {
        // Rows never decoded hold whatever the memory held: nothing to show.
        d.image = QImage();
        return d.errors.status;
    }
    jpeg_decompress_struct &c = d.cinfo;
    const bool cmyk = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
    const bool grey = c.jpeg_color_space == JCS_GRAYSCALE && bits != 24;
    c.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_EXT_RGB;
    c.scale_num = 1;
    c.scale_denom = unsigned(scale);
    d.monitor.pub.progress_monitor = monitorProgress;
    d.monitor.tracker = &tracker;
    c.progress = &d.monitor.pub;
    jpeg_calc_output_dimensions(&c);
    if (const int budget = checkDecodingBudget(c); budget != Ok)
        return budget;
    d.image = grey ? newGreyPicture(int(c.output_width), int(c.output_height))
                   : newPicture(int(c.output_width), int(c.output_height), QImage::Format_RGB888);
    if (d.image.isNull())
        return OutOfMemory;
    const Density density = densityOf(c);
    setDensity(d.image, density.x, density.y);
    if (cmyk)
        d.cmyk.resize(size_t(c.output_width) * 4);
    jpeg_start_decompress(&c);
    while (c.output_scanline < c.output_height) {
        uchar *line = d.image.scanLine(int(c.output_scanline));
        JSAMPROW row = cmyk ? d.cmyk.data() : line;
        jpeg_read_scanlines(&c, &row, 1);
        if (cmyk)
            cmykToRgb(d.cmyk.data(), int(c.output_width), c.saw_Adobe_marker, line);
    }
    jpeg_finish_decompress(&c);
    // libjpeg warned of the premature end: the rows below the cut are grey. A
    // file that ends right after its headers holds no picture at all.
    if (d.source.atEnd) {
        if (d.source.delivered == d.headerEnd)
            d.image = QImage();
        return Truncated;
    }
    return tracker.finish() ? Ok : Stopped;
}

// At the qualities that keep the colour whole, the coded data is large and
// recoding its symbols (jpegtables.h) would take longer than coding it:
// libjpeg's own optimised tables are used while their buffer of every
// coefficient is small, or no larger than the picture at true colour (grey);
// full-resolution colour (6 bytes a pixel) keeps the standard tables. Below
// those qualities the coded data is small and gets tables of its own.
bool optimiseCoding(const jpeg_compress_struct &c)
{
    constexpr qint64 kSmallBuffer = qint64(16) << 20;
    const qint64 buffer = coefficientBytes(c);
    const qint64 picture = qint64(c.image_width) * c.image_height * 3;
    // Block rounding at the edges may add a little to the exact 3 bytes a pixel.
    return buffer <= std::max(kSmallBuffer, picture + picture / 64);
}

// The whole picture's DCT coefficients that libjpeg keeps (a recoding's, the
// encoder's for its optimised tables), in memory of our own (huge pages:
// libjpeg would take them in 4 kB pages from the allocator, a fault for every
// 32 blocks). It stands in for libjpeg's block arrays: libjpeg asks for them,
// realises, fills and reads them through it.
struct BlockArray {
    JDIMENSION blocksPerRow = 0;
    JDIMENSION rows = 0;
    JDIMENSION window = 0;  // rows held by an array not kept: the decoder's scratch
    LargeMemory memory;
    std::vector<JBLOCKROW> rowStarts;
};

struct CoefficientStore {
    std::vector<std::unique_ptr<BlockArray>> arrays;  // one a component, in order
    size_t kept = 0;  // the components whose coefficients are written (grey: the luminance)
    qint64 bytes = 0;
    void (*realizeOthers)(j_common_ptr) = nullptr;
};

CoefficientStore &storeOf(j_common_ptr cinfo) { return *reinterpret_cast<Errors *>(cinfo->err)->store; }

jvirt_barray_ptr requestBlocks(j_common_ptr cinfo, int, boolean, JDIMENSION blocksPerRow, JDIMENSION rows,
                               JDIMENSION maxAccess)
{
    CoefficientStore &store = storeOf(cinfo);
    const bool kept = store.arrays.size() < store.kept;
    store.bytes += qint64(blocksPerRow) * (kept ? rows : maxAccess) * qint64(sizeof(JBLOCK));
    if (store.bytes > kMaxDecodedBytes)
        fail(cinfo, TooLarge);
    BlockArray *array = nullptr;
    try {
        store.arrays.push_back(std::make_unique<BlockArray>());
        array = store.arrays.back().get();
    } catch (const std::bad_alloc &) {
    }
    if (!array)
        fail(cinfo, OutOfMemory);
    array->blocksPerRow = blocksPerRow;
    array->rows = rows;
    array->window = kept ? 0 : maxAccess;
    return reinterpret_cast<jvirt_barray_ptr>(array);
}

void realizeBlocks(j_common_ptr cinfo)
{
    CoefficientStore &store = storeOf(cinfo);
    bool allocated = true;
    for (const auto &array : store.arrays) {
        if (array->memory.data())
            continue;
        const JDIMENSION rows = array->window > 0 ? array->window : array->rows;
        try {
            // Fresh mappings are zero-filled, as libjpeg's pre-zeroed arrays are.
            array->memory = LargeMemory(size_t(array->blocksPerRow) * rows * sizeof(JBLOCK));
            array->rowStarts.resize(rows);
        } catch (const std::bad_alloc &) {
            allocated = false;
            break;
        }
        if (!array->memory.data()) {
            allocated = false;
            break;
        }
        auto *blocks = reinterpret_cast<JBLOCKROW>(array->memory.data());
        for (JDIMENSION row = 0; row < rows; ++row)
            array->rowStarts[row] = blocks + size_t(row) * array->blocksPerRow;
    }
    if (!allocated)
        fail(cinfo, OutOfMemory);
    store.realizeOthers(cinfo);
}

JBLOCKARRAY accessBlocks(j_common_ptr cinfo, jvirt_barray_ptr handle, JDIMENSION first, JDIMENSION count,
                         boolean)
{
    auto *array = reinterpret_cast<BlockArray *>(handle);
    if (array->rowStarts.empty() || first + count > array->rows || first + count < first ||
        (array->window > 0 && count > array->window))
        ERREXIT(cinfo, JERR_BAD_VIRTUAL_ACCESS);
    // A component not kept is decoded into the same rows again and again.
    return array->rowStarts.data() + (array->window > 0 ? 0 : first);
}

void useStore(j_common_ptr cinfo, Errors &errors, CoefficientStore &store)
{
    errors.store = &store;
    if (!store.realizeOthers)
        store.realizeOthers = cinfo->mem->realize_virt_arrays;
    cinfo->mem->request_virt_barray = requestBlocks;
    cinfo->mem->realize_virt_arrays = realizeBlocks;
    cinfo->mem->access_virt_barray = accessBlocks;
}

// What libjpeg writes, kept in memory: room for more than the picture's own
// bytes is mapped at once, and only what is written is ever touched.
struct MemoryDestination {
    jpeg_destination_mgr pub{};
    LargeMemory memory;
    size_t size = 0;  // once libjpeg is done
};

void startMemory(j_compress_ptr cinfo)
{
    auto *m = reinterpret_cast<MemoryDestination *>(cinfo->dest);
    m->memory = LargeMemory(size_t(cinfo->image_width) * cinfo->image_height * size_t(cinfo->input_components) +
                            (size_t(1) << 20));
    if (!m->memory.data())
        fail(reinterpret_cast<j_common_ptr>(cinfo), OutOfMemory);
    m->pub.next_output_byte = m->memory.data();
    m->pub.free_in_buffer = m->memory.size();
}

// Coded noise can come out larger than its pixels.
boolean growMemory(j_compress_ptr cinfo)
{
    auto *m = reinterpret_cast<MemoryDestination *>(cinfo->dest);
    LargeMemory larger(m->memory.size() * 2);
    if (!larger.data())
        fail(reinterpret_cast<j_common_ptr>(cinfo), OutOfMemory);
    std::memcpy(larger.data(), m->memory.data(), m->memory.size());
    m->pub.next_output_byte = larger.data() + m->memory.size();
    m->pub.free_in_buffer = larger.size() - m->memory.size();
    m->memory = std::move(larger);
    return TRUE;
}

void endMemory(j_compress_ptr cinfo)
{
    auto *m = reinterpret_cast<MemoryDestination *>(cinfo->dest);
    m->size = m->memory.size() - m->pub.free_in_buffer;
}

// How the pixel path codes a picture of that size at that quality.
void setPixelCoding(jpeg_compress_struct &c, int width, int height, int quality, bool grey)
{
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 3;
    c.in_color_space = JCS_EXT_RGB;
    jpeg_set_defaults(&c);
    if (grey)
        jpeg_set_colorspace(&c, JCS_GRAYSCALE);
    jpeg_set_quality(&c, quality, TRUE);
    // At high quality the colour is kept at full resolution, as the user asks for the best.
    if (!grey && quality >= kFullColour)
        c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;
}

// Files that get tables of their own are coded with the standard ones into
// memory first.
struct Encoder {
    jpeg_compress_struct cinfo{};
    Errors errors;
    Monitor monitor;
    CoefficientStore store;
    MemoryDestination coded;
    ~Encoder() { jpeg_destroy_compress(&cinfo); }
};

void codeIntoMemory(Encoder &e)
{
    e.coded.pub.init_destination = startMemory;
    e.coded.pub.empty_output_buffer = growMemory;
    e.coded.pub.term_destination = endMemory;
    e.cinfo.dest = &e.coded.pub;
}

// A file libjpeg wrote that the recoding of tables does not take (it takes
// every baseline file) is written as it is.
int writeCoded(const Encoder &e, FILE *file)
{
    const uchar *data = e.coded.memory.data();
    const int status = writeWithOwnTables(data, e.coded.size, file);
    if (status != BadFormat)
        return status;
    return std::fwrite(data, 1, e.coded.size, file) == e.coded.size ? Ok : WriteError;
}

int encode(Encoder &e, FILE *file, int quality, int smoothing, bool grey, RowSource &rows,
           std::vector<uchar> &scratch, ProgressTracker &tracker)
{
    installErrors(e.errors);
    e.cinfo.err = &e.errors.pub;
    if (setjmp(e.errors.jump))
        return e.errors.status;
    jpeg_compress_struct &c = e.cinfo;
    jpeg_create_compress(&c);
    e.store.kept = SIZE_MAX;
    useStore(reinterpret_cast<j_common_ptr>(&c), e.errors, e.store);
    e.monitor.pub.progress_monitor = monitorProgress;
    e.monitor.tracker = &tracker;
    c.progress = &e.monitor.pub;
    setPixelCoding(c, rows.width(), rows.height(), quality, grey);
    c.smoothing_factor = smoothing;
    setJfifDensity(c, {rows.densityX(), rows.densityY()});
    const bool ownTables = quality < kFullColour;
    if (ownTables) {
        codeIntoMemory(e);
    } else {
        jpeg_stdio_dest(&c, file);
        c.optimize_coding = optimiseCoding(c) ? TRUE : FALSE;
    }
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uchar *>(rows.row(int(c.next_scanline), scratch.data()));
        if (!row)
            return rows.status();
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    if (!tracker.finish())
        return Stopped;
    return ownTables ? writeCoded(e, file) : Ok;
}

// Rounds coefficients quantised by `from` to the nearest multiples of `to`,
// within what baseline Huffman coding can hold.
void requantise(JBLOCK *blocks, size_t count, const UINT16 *from, const UINT16 *to)
{
    float ratio[DCTSIZE2];
    int low[DCTSIZE2];
    for (int k = 0; k < DCTSIZE2; ++k) {
        ratio[k] = float(from[k]) / float(to[k]);
        low[k] = k == 0 ? -1024 : -1023;
    }
    for (size_t b = 0; b < count; ++b) {
        JCOEF *block = blocks[b];
        for (int k = 0; k < DCTSIZE2; ++k) {
            const float scaled = float(block[k]) * ratio[k];
            const int rounded = int(scaled + (scaled < 0 ? -0.5f : 0.5f));
            block[k] = JCOEF(std::clamp(rounded, low[k], 1023));
        }
    }
}

// Whether the recoding gives what the pixel path would, no larger: a grey
// file from a YCbCr or grey one; a colour file from a YCbCr one at the
// qualities the pixel path writes in full colour (below them it halves the
// colour, and rounding requantised coefficients makes files 10 to 75 % larger).
// Never for a file turned by its EXIF orientation.
bool recodable(const Decoder &d, int quality, bool grey)
{
    const jpeg_decompress_struct &c = d.cinfo;
    const bool ycc = c.jpeg_color_space == JCS_YCbCr && c.num_components == 3;
    const bool mono = c.jpeg_color_space == JCS_GRAYSCALE && c.num_components == 1;
    return d.orientation == 1 && c.data_precision == 8 && (grey ? ycc || mono : ycc && quality >= kFullColour);
}

struct Recoding {
    Decoder d;
    Encoder e;  // its store holds the coefficients
    explicit Recoding(FILE *file) : d(file) {}
};

int recode(Recoding &r, FILE *out, int quality, bool grey, ProgressTracker &reading, ProgressTracker &writing)
{
    jpeg_decompress_struct &src = r.d.cinfo;
    jpeg_compress_struct &dst = r.e.cinfo;
    installErrors(r.e.errors);
    dst.err = &r.e.errors.pub;
    if (setjmp(r.d.errors.jump))
        return r.d.errors.status;
    if (setjmp(r.e.errors.jump))
        return r.e.errors.status;
    jpeg_create_compress(&dst);
    r.e.store.kept = grey ? 1 : size_t(src.num_components);
    useStore(reinterpret_cast<j_common_ptr>(&src), r.d.errors, r.e.store);
    useStore(reinterpret_cast<j_common_ptr>(&dst), r.e.errors, r.e.store);
    if (const int size = checkDecodedSize(src.image_width, src.image_height); size != Ok)
        return size;
    r.d.monitor.pub.progress_monitor = monitorProgress;
    r.d.monitor.tracker = &reading;
    src.progress = &r.d.monitor.pub;
    jvirt_barray_ptr *coefficients = jpeg_read_coefficients(&src);
    // A cut file is not recoded: the pixel path would not write it either.
    if (r.d.source.atEnd)
        return Truncated;
    if (!reading.finish())
        return Stopped;

    // A component of no scan (a damaged file) has no table: the pixel path says what it gives.
    for (int i = 0; i < src.num_components; ++i)
        if (!src.comp_info[i].quant_table)
            return Unsupported;
    jpeg_copy_critical_parameters(&src, &dst);
    if (grey)
        jpeg_set_colorspace(&dst, JCS_GRAYSCALE);
    // The tables the pixel path would use: luminance, then chrominance for both colours.
    for (int i = 0; i < dst.num_components; ++i)
        dst.comp_info[i].quant_tbl_no = i == 0 ? 0 : 1;
    jpeg_set_quality(&dst, quality, TRUE);
    setJfifDensity(dst, densityOf(src));
    dst.optimize_coding = optimiseCoding(dst) ? TRUE : FALSE;
    for (int i = 0; i < dst.num_components; ++i) {
        const UINT16 *from = src.comp_info[i].quant_table->quantval;
        const UINT16 *to = dst.quant_tbl_ptrs[dst.comp_info[i].quant_tbl_no]->quantval;
        const auto *array = reinterpret_cast<const BlockArray *>(coefficients[i]);
        requantise(reinterpret_cast<JBLOCK *>(array->memory.data()), size_t(array->blocksPerRow) * array->rows,
                   from, to);
    }
    r.e.monitor.pub.progress_monitor = monitorProgress;
    r.e.monitor.tracker = &writing;
    dst.progress = &r.e.monitor.pub;
    jpeg_stdio_dest(&dst, out);
    jpeg_write_coefficients(&dst, coefficients);
    jpeg_finish_compress(&dst);
    return writing.finish() ? Ok : Stopped;
}

// What the pixel path would code a picture in colour or grey with at
// `quality`: its quantisation, its Huffman tables (the standard ones, or none
// where it makes tables of the picture's own) and its JFIF density.
bool requantisationFor(const jpeg_decompress_struct &src, int quality, bool grey, Requantisation &to)
{
    Encoder e;
    installErrors(e.errors);
    e.cinfo.err = &e.errors.pub;
    if (setjmp(e.errors.jump))
        return false;
    jpeg_create_compress(&e.cinfo);
    setPixelCoding(e.cinfo, int(src.image_width), int(src.image_height), quality, grey);
    setJfifDensity(e.cinfo, densityOf(src));
    to.grey = grey;
    for (int t = 0; t < 2; ++t)
        std::copy_n(e.cinfo.quant_tbl_ptrs[t]->quantval, DCTSIZE2, to.tables[t]);
    to.densityUnit = e.cinfo.density_unit;
    to.densityX = e.cinfo.X_density;
    to.densityY = e.cinfo.Y_density;
    if (optimiseCoding(e.cinfo))
        return true;
    const JHUFF_TBL *const huffman[2][2] = {{e.cinfo.dc_huff_tbl_ptrs[0], e.cinfo.dc_huff_tbl_ptrs[1]},
                                            {e.cinfo.ac_huff_tbl_ptrs[0], e.cinfo.ac_huff_tbl_ptrs[1]}};
    for (int kind = 0; kind < 2; ++kind)
        for (int slot = 0; slot < 2; ++slot) {
            HuffmanTable &table = to.huffman[kind][slot];
            std::copy_n(huffman[kind][slot]->bits + 1, 16, table.counts);
            const int symbols = std::accumulate(table.counts, table.counts + 16, 0);
            table.symbols.assign(huffman[kind][slot]->huffval, huffman[kind][slot]->huffval + symbols);
        }
    return true;
}

// A file mapped for reading, in order.
struct MappedFile {
    uchar *data = nullptr;
    size_t size = 0;
    explicit MappedFile(FILE *file)
    {
        struct stat info {};
        if (fstat(fileno(file), &info) != 0 || info.st_size <= 0)
            return;
        void *mapped = mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE, fileno(file), 0);
        if (mapped == MAP_FAILED)
            return;
        data = static_cast<uchar *>(mapped);
        size = size_t(info.st_size);
        madvise(data, size, MADV_SEQUENTIAL);
    }
    ~MappedFile()
    {
        if (data)
            munmap(data, size);
    }
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;
};

// The recoding a block at a time, straight from the file, in colour or grey:
// no coefficient buffer, and the pages of the file already read are let go
// (they stay in the page cache), so that a recoding holds a few megabytes
// whatever the picture.
// BadFormat, with nothing written, for what it leaves to libjpeg's recoding.
int recodeByBlocks(FILE *file, const jpeg_decompress_struct &src, int quality, bool grey, FILE *out,
                   ProgressTracker &reading, ProgressTracker &writing)
{
    Requantisation to;
    const MappedFile source(file);
    if (!source.data || !requantisationFor(src, quality, grey, to))
        return BadFormat;
    constexpr size_t kHeld = size_t(1) << 20;
    size_t dropped = 0;
    const auto progress = [&](int percent, size_t bytes) {
        dropped = std::min(dropped, bytes & ~size_t(4095));  // the second pass starts again
        if (bytes > dropped + 2 * kHeld) {
            const size_t upTo = (bytes - kHeld) & ~size_t(4095);
            madvise(source.data + dropped, upTo - dropped, MADV_DONTNEED);
            dropped = upTo;
        }
        return percent < 50 ? reading.step(qint64(percent) * kProgressSteps / 50)
                            : writing.step(qint64(percent - 50) * kProgressSteps / 50);
    };
    const int status = requantiseJpeg(source.data, source.size, to, out, progress);
    if (status == BadFormat) {
        // What was written goes: libjpeg's recoding starts the file again.
        std::fflush(out);
        if (std::fseek(out, 0, SEEK_SET) != 0 || ftruncate(fileno(out), 0) != 0)
            return WriteError;
    }
    if (status != Ok)
        return status;
    return reading.finish() && writing.finish() ? Ok : Stopped;
}

int encodeRows(RowSource &rows, OutputFile &file, int quality, int smoothing, bool grey, ProgressTracker &tracker)
{
    std::vector<uchar> scratch(size_t(rows.width()) * 3);
    Encoder e;
    return encode(e, file.handle(), quality, smoothing, grey, rows, scratch, tracker);
}

// Whether the file begins as a JPEG does; it is then read again from its start.
bool startsAsJpeg(FILE *file)
{
    uchar start[2] = {};
    return std::fread(start, 1, 2, file) == 2 && start[0] == 0xFF && start[1] == 0xD8 &&
           std::fseek(file, 0, SEEK_SET) == 0;
}

// The rows of a JPEG file as libjpeg decodes them, in true colour.
class JpegRows final : public SequentialRows {
public:
    explicit JpegRows(Decoder &d) : d_(d) {}
    int width() const override { return int(d_.cinfo.output_width); }
    int height() const override { return int(d_.cinfo.output_height); }
    int densityX() const override { return int(density_.x); }
    int densityY() const override { return int(density_.y); }

    Density density_;
    bool cmyk_ = false;

private:
    int readNext(int y, uchar *line) override;

    Decoder &d_;
    std::vector<uchar> cmykRow_;
};

int startRows(Decoder &d, JpegRows &rows)
{
    if (setjmp(d.errors.jump))
        return d.errors.status;
    jpeg_decompress_struct &c = d.cinfo;
    rows.cmyk_ = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
    c.out_color_space = rows.cmyk_ ? JCS_CMYK : JCS_EXT_RGB;
    jpeg_calc_output_dimensions(&c);
    if (const int budget = checkDecodingBudget(c); budget != Ok)
        return budget;
    rows.density_ = densityOf(c);
    jpeg_start_decompress(&c);
    return Ok;
}

int readRow(Decoder &d, bool cmyk, uchar *cmykRow, uchar *line)
{
    if (setjmp(d.errors.jump))
        return d.errors.status;
    jpeg_decompress_struct &c = d.cinfo;
    JSAMPROW row = cmyk ? cmykRow : line;
    jpeg_read_scanlines(&c, &row, 1);
    if (cmyk)
        cmykToRgb(cmykRow, int(c.output_width), c.saw_Adobe_marker, line);
    if (c.output_scanline == c.output_height)
        jpeg_finish_decompress(&c);
    // libjpeg warned of the premature end: the rest would be grey, as no file's picture is.
    return d.source.atEnd ? int(Truncated) : int(Ok);
}

int JpegRows::readNext(int, uchar *line)
{
    if (cmyk_ && cmykRow_.empty())
        cmykRow_.resize(size_t(width()) * 4);
    return readRow(d_, cmyk_, cmykRow_.data(), line);
}

// The DC decoding of the whole file, read at once (it is read only once) into
// memory kept from one reading to the next. What it leaves to libjpeg is read
// again from the start.
int readDc(FILE *file, bool grey, ProgressTracker &tracker, DcPicture &dc)
{
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0)
        return Unsupported;
    const size_t size = size_t(info.st_size);
    Scratch scratch;
    uchar *data = scratch.take(size);
    const bool read = data && std::fread(data, 1, size, file) == size;
    const int status = read ? decodeDc(data, size, grey, tracker, kProgressSteps, dc) : int(Unsupported);
    if (status == Unsupported && std::fseek(file, 0, SEEK_SET) != 0)
        return ReadError;
    return status == Ok && !tracker.finish() ? int(Stopped) : status;
}

}  // namespace

int readJpeg(const QString &path, int bits, int scale, bool dither, QImage &out,
             const Progress &progress)
{
    if (!validDepth(bits))
        return BadDepth;
    if (scale != 1 && scale != 2 && scale != 4 && scale != 8)
        return BadArgument;
    return readPicture(path, bits, dither, out, [&](FILE *file, QImage &decoded) {
        // At 1/8 the picture is its blocks' DC values: libjpeg only for the files they do not give.
        if (scale == 8 && (bits == 24 || bits == 8)) {
            ProgressTracker tracker(progress, kProgressSteps);
            DcPicture dc;
            if (const int status = readDc(file, bits != 24, tracker, dc); status != Unsupported) {
                const Density density = densityOf(dc.densityUnit, dc.densityX, dc.densityY);
                setDensity(dc.image, density.x, density.y);
                decoded = upright(dc.image, dc.orientation);
                return status;
            }
        }
        ProgressTracker tracker(progress, kProgressSteps);
        Decoder d(file);
        int status = readHeader(d);
        if (status == Ok)
            status = decode(d, bits, scale, tracker);
        decoded = upright(d.image, d.orientation);
        d.image = QImage();
        return status;
    });
}

int writeJpeg(const QString &path, int quality, int smoothing, int bits, const QImage &image,
              const Progress &progress)
{
    if (quality < 1 || quality > 100 || smoothing < 0 || smoothing > 100)
        return BadArgument;
    // The picture goes as it is: depth 1 asks for a greyscale file, any other a colour one.
    return writePicture(path, bits, image, progress, {24, kProgressSteps},
                        [&](const QImage &picture, OutputFile &file, ProgressTracker &tracker) {
                            RgbRows rows(picture);
                            return encodeRows(rows, file, quality, smoothing, bits == 1, tracker);
                        });
}

int writeJpegRows(const QString &path, RowSource &rows, const WriteOptions &options, const Progress &progress)
{
    if (options.quality < 1 || options.quality > 100 || options.smoothing < 0 || options.smoothing > 100)
        return BadArgument;
    return writeRows(path, rows, progress, kProgressSteps,
                     [&](RowSource &source, OutputFile &file, ProgressTracker &tracker) {
                         return encodeRows(source, file, options.quality, options.smoothing, false, tracker);
                     });
}

int withJpegRows(const QString &path, const std::function<int(RowSource &rows)> &use)
{
    return readFile(path, [&](FILE *file) -> int {
        if (!startsAsJpeg(file))
            return Unsupported;
        Decoder d(file);
        if (const int status = readHeader(d); status != Ok)
            return status;
        if (d.orientation != 1)
            return Unsupported;
        JpegRows rows(d);
        if (const int status = startRows(d, rows); status != Ok)
            return status;
        return use(rows);
    });
}

int recodeJpeg(const QString &source, const QString &target, int quality, bool grey, const Progress &progress)
{
    if (quality < 1 || quality > 100)
        return BadArgument;
    // Each half of the work reports half of the percentage.
    const auto half = [&progress](int base) -> Progress {
        if (!progress)
            return {};
        return [&progress, base](int percent) { return progress(base + percent / 2); };
    };
    ProgressTracker reading(half(0), kProgressSteps), writing(half(50), kProgressSteps);
    return readFile(source, [&](FILE *file) -> int {
        if (!startsAsJpeg(file))
            return Unsupported;
        Recoding r(file);
        if (const int status = readHeader(r.d); status != Ok)
            return status;
        if (!recodable(r.d, quality, grey))
            return Unsupported;
        OutputFile output(target);
        if (!output.isOpen())
            return CannotCreate;
        int status = recodeByBlocks(file, r.d.cinfo, quality, grey, output.handle(), reading, writing);
        if (status == BadFormat)
            status = recode(r, output.handle(), quality, grey, reading, writing);
        return status == Ok ? output.commit() : status;
    });
}

int jpegInfo(const QString &path, FileInfo &info)
{
    return readFile(path, [&](FILE *file) -> int {
        Decoder d(file);
        if (const int status = readHeader(d); status != Ok)
            return status;
        const jpeg_decompress_struct &c = d.cinfo;
        const bool grey = c.num_components == 1;
        info.type = QStringLiteral("JPEG");
        info.orientation = d.orientation;
        info.width = int(c.image_width);
        info.height = int(c.image_height);
        info.bitsPerPixel = grey ? 8 : 24;
        info.colors = grey ? 256 : 16777216;
        // JFIF density unit 1: dots per inch, 2: dots per centimetre, 0: none.
        info.density = c.density_unit == 1   ? c.X_density
                       : c.density_unit == 2 ? int(c.X_density * 2.54 + 0.5)
                                             : 0;
        info.compression = c.progressive_mode ? QStringLiteral("Progressive JPEG")
                                              : QStringLiteral("JPEG");
        return Ok;
    });
}

}  // namespace sky
