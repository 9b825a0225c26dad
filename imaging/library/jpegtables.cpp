#include "jpegtables.h"

#include "sky.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace sky {
namespace {

using namespace jpegscan;

// The Huffman symbols of a block coded after a block of DC `previous`, its
// AC coefficients not zero at the places set in `nonZero`:
// `put(kind, symbol, bits, n)`, kind 0 DC and 1 AC, with the `n` bits after
// the symbol. Going from one coefficient not zero to the next, no branch
// depends on whether a coefficient is zero, which a processor cannot foresee.
template <typename Put>
inline void blockSymbols(const int16_t *zigzag, uint64_t nonZero, int previous, Put put)
{
    // The bits of a value of `n` bits: itself, or one less when negative.
    const auto low = [](int value, int n) { return unsigned(value + (value >> 31)) & ((1u << n) - 1); };
    const int difference = zigzag[0] - previous;
    const int n = difference == 0 ? 0 : 32 - __builtin_clz(unsigned(std::abs(difference)));
    put(0, n, low(difference, n), n);
    int after = 0;  // the last coefficient coded
    for (; nonZero != 0; nonZero &= nonZero - 1) {
        const int k = __builtin_ctzll(nonZero);
        int run = k - after - 1;
        for (; run > 15; run -= 16)
            put(1, 0xF0, 0u, 0);
        const int value = zigzag[k];  // not zero
        const int size = 32 - __builtin_clz(unsigned(std::abs(value)));
        put(1, run << 4 | size, low(value, size), size);
        after = k;
    }
    if (after < 63)
        put(1, 0x00, 0u, 0);
}

// What a recoding writes around the coded data: everything before the Huffman
// tables, and the scan's header; `components` are the coded ones, in order.
struct Recoded {
    std::vector<uchar> head;
    std::vector<uchar> scanHeader;
    std::vector<Component> components;
    const HuffmanTable (*tables)[4] = nullptr;  // DC, AC to code with; null: tables of the data's own
    int lone = -1;  // the source scan's only component coded, in a scan of its own; -1: all of them
};

// The blocks of one component of an interleaved scan, kept a row of units at a
// time and given out in the order a scan of that component alone has them:
// row by row, without the blocks that only fill the last units.
class RasterOrder {
public:
    RasterOrder(const Layout &layout, const Component &c)
        : h_(c.h), v_(c.v), across_(blocksAcross(layout, c)), down_(blocksDown(layout, c)),
          width_(size_t(layout.across) * size_t(c.h)), blocks_(width_ * size_t(c.v))
    {
    }
    void keep(long column, int block, const int16_t *zigzag, uint64_t nonZero)
    {
        Block &kept = blocks_[size_t(block / h_) * width_ + size_t(column) * size_t(h_) + size_t(block % h_)];
        std::memcpy(kept.zigzag, zigzag, sizeof kept.zigzag);
        kept.nonZero = nonZero;
    }
    // The blocks of the row of units `row`, once all of them are kept.
    template <typename Give>
    void giveRow(long row, Give give) const
    {
        for (long r = 0; r < v_ && row * v_ + r < down_; ++r)
            for (long x = 0; x < across_; ++x) {
                const Block &b = blocks_[size_t(r) * width_ + size_t(x)];
                give(b.zigzag, b.nonZero);
            }
    }

private:
    struct Block {
        int16_t zigzag[64];
        uint64_t nonZero;
    };
    long h_, v_, across_, down_;
    size_t width_;
    std::vector<Block> blocks_;
};

// Recodes the scan of `layout` into `out` with Huffman tables made for its own
// symbols, the coefficients first changed by `change(component, zigzag)`.
template <typename Change>
int recodeScan(const Layout &layout, const uchar *data, const uchar *end, const Recoded &recoded, Change change,
               FILE *out, const RecodingProgress &progress)
{
    Codes source[2][4];
    for (int kind = 0; kind < 2; ++kind)
        for (int slot = 0; slot < 4; ++slot)
            if (!layout.tables[kind][slot].symbols.empty() && !build(layout.tables[kind][slot], source[kind][slot]))
                return BadFormat;
    bool stopped = false;
    // A lone component of several blocks a unit is coded in another order than it comes.
    const int lone = recoded.lone;
    std::optional<RasterOrder> reordered;
    if (lone >= 0 && layout.components.size() > 1) {
        const Component &c = layout.components[size_t(lone)];
        if (c.h * c.v > 1)
            reordered.emplace(layout, c);
    }
    // Each pass goes over the source's blocks and codes the recoded ones, in
    // order: `code(c, zigzag, nonZero, previous)`, c counting the coded ones.
    const auto pass = [&](int from, int share, auto code) {
        int previous[4] = {};
        const auto codeNext = [&](int c, const int16_t *zigzag, uint64_t nonZero) {
            code(c, zigzag, nonZero, previous[c]);
            previous[c] = zigzag[0];
        };
        const auto codeKept = [&](long row) {
            reordered->giveRow(row, [&](const int16_t *zigzag, uint64_t nonZero) { codeNext(0, zigzag, nonZero); });
        };
        const uchar *stop = nullptr;
        long rowStart = 0;  // the first unit of the row being decoded
        const bool decoded = decodeBlocks(
            layout, source, data, end, lone < 0 ? ~0u : 1u << lone,
            [&](int c, long unit, int block, int16_t *zigzag, uint64_t nonZero) {
                if (lone >= 0 && c != lone)
                    return;
                change(c, zigzag, nonZero);
                if (reordered)
                    reordered->keep(unit - rowStart, block, zigzag, nonZero);
                else
                    codeNext(lone < 0 ? c : 0, zigzag, nonZero);
            },
            [&](long row, const uchar *at) {
                if (reordered && row > 0)
                    codeKept(row - 1);
                rowStart = row * layout.across;
                stopped = progress && !progress(from + int(row * share / layout.down), layout.dataStart + size_t(at - data));
                return !stopped;
            },
            &stop);
        if (!decoded)
            return false;
        if (reordered)
            codeKept(layout.down - 1);
        return stop + 2 <= end && stop[0] == 0xFF && stop[1] == 0xD9;
    };

    std::array<long, 256> counted[2][4] = {};
    long *countOf[4][2] = {};  // by coded component and kind
    for (size_t c = 0; c < recoded.components.size(); ++c) {
        countOf[c][0] = counted[0][recoded.components[c].dc].data();
        countOf[c][1] = counted[1][recoded.components[c].ac].data();
    }
    // Without tables given, those of the data's own come from a first pass,
    // which also finds any damage before anything is written.
    const auto count = [&](int c, const int16_t *zigzag, uint64_t nonZero, int previous) {
        blockSymbols(zigzag, nonZero, previous, [&](int kind, int symbol, unsigned, int) { ++countOf[c][kind][symbol]; });
    };
    if (!recoded.tables && !pass(0, 50, count))
        return stopped ? Stopped : BadFormat;
    Codes codes[2][4];
    std::vector<uchar> segment = {0xFF, 0xC4, 0, 0};
    bool used[2][4] = {};
    for (const Component &c : recoded.components)
        used[0][c.dc] = used[1][c.ac] = true;
    for (int kind = 0; kind < 2; ++kind)
        for (int slot = 0; slot < 4; ++slot) {
            if (!used[kind][slot])
                continue;
            const HuffmanTable table = recoded.tables ? recoded.tables[kind][slot] : optimalTable(counted[kind][slot]);
            if (!build(table, codes[kind][slot]))
                return BadFormat;
            segment.push_back(uchar(kind << 4 | slot));
            segment.insert(segment.end(), table.counts, table.counts + 16);
            segment.insert(segment.end(), table.symbols.begin(), table.symbols.end());
        }
    segment[2] = uchar((segment.size() - 2) >> 8);
    segment[3] = uchar(segment.size() - 2);

    BitWriter writer(out);
    writer.bytes(recoded.head.data(), recoded.head.size());
    writer.bytes(segment.data(), segment.size());
    writer.bytes(recoded.scanHeader.data(), recoded.scanHeader.size());
    const Codes *codesOf[4][2] = {};
    for (size_t c = 0; c < recoded.components.size(); ++c) {
        codesOf[c][0] = &codes[0][recoded.components[c].dc];
        codesOf[c][1] = &codes[1][recoded.components[c].ac];
    }
    const auto put = [&](int c, const int16_t *zigzag, uint64_t nonZero, int previous) {
        const Codes *const tables[2] = {codesOf[c][0], codesOf[c][1]};
        BitWriter::Run run(writer);
        blockSymbols(zigzag, nonZero, previous, [&](int kind, int symbol, unsigned bits, int n) {
            run.put(unsigned(tables[kind]->code[symbol]) << n | bits, tables[kind]->length[symbol] + n);
        });
    };
    // After a first pass over the same data, only a stop can end it early.
    if (!pass(recoded.tables ? 0 : 50, recoded.tables ? 100 : 50, put))
        return stopped ? Stopped : BadFormat;
    BitWriter::Run(writer).pad();
    const uchar eoi[2] = {0xFF, 0xD9};
    writer.bytes(eoi, 2);
    return writer.written() ? Ok : WriteError;
}

void append16(std::vector<uchar> &bytes, unsigned value)
{
    bytes.push_back(uchar(value >> 8));
    bytes.push_back(uchar(value));
}

// A segment with its length in front.
void appendSegment(std::vector<uchar> &bytes, uchar marker, const std::vector<uchar> &body)
{
    bytes.push_back(0xFF);
    bytes.push_back(marker);
    append16(bytes, unsigned(body.size() + 2));
    bytes.insert(bytes.end(), body.begin(), body.end());
}

}  // namespace

HuffmanTable optimalTable(const std::array<long, 256> &frequencies)
{
    // The standard's K.2: a reserved symbol, met once, takes the code of all ones.
    long frequency[257];
    std::copy(frequencies.begin(), frequencies.end(), frequency);
    frequency[256] = 1;
    int codeSize[257] = {};
    int others[257];
    std::fill(std::begin(others), std::end(others), -1);
    for (;;) {
        // The two rarest symbols (the later one on a tie) are joined.
        int c1 = -1, c2 = -1;
        for (int i = 0; i <= 256; ++i)
            if (frequency[i] > 0 && (c1 < 0 || frequency[i] <= frequency[c1]))
                c1 = i;
        for (int i = 0; i <= 256; ++i)
            if (frequency[i] > 0 && i != c1 && (c2 < 0 || frequency[i] <= frequency[c2]))
                c2 = i;
        if (c2 < 0)
            break;
        frequency[c1] += frequency[c2];
        frequency[c2] = 0;
        for (++codeSize[c1]; others[c1] >= 0; ++codeSize[c1])
            c1 = others[c1];
        others[c1] = c2;
        for (++codeSize[c2]; others[c2] >= 0; ++codeSize[c2])
            c2 = others[c2];
    }
    constexpr int kDeepest = 32;
    int bits[kDeepest + 1] = {};
    for (const int size : codeSize) {
        if (size > kDeepest)
            return {};
        if (size > 0)
            ++bits[size];
    }
    // K.3: codes longer than 16 bits are moved up the tree.
    for (int i = kDeepest; i > kLongestCode; --i)
        while (bits[i] > 0) {
            int j = i - 2;
            while (bits[j] == 0)
                --j;
            bits[i] -= 2;
            ++bits[i - 1];
            bits[j + 1] += 2;
            --bits[j];
        }
    int longest = kLongestCode;
    while (longest > 0 && bits[longest] == 0)
        --longest;
    if (longest == 0)
        return {};
    --bits[longest];  // the reserved code
    HuffmanTable table;
    for (int i = 1; i <= kLongestCode; ++i)
        table.counts[i - 1] = uchar(bits[i]);
    for (int size = 1; size <= kDeepest; ++size)
        for (int symbol = 0; symbol < 256; ++symbol)
            if (codeSize[symbol] == size)
                table.symbols.push_back(uchar(symbol));
    return table;
}

int writeWithOwnTables(const uchar *data, size_t size, FILE *out)
{
    Layout layout;
    std::vector<std::pair<size_t, size_t>> kept;  // segments copied as they are
    if (!parseHeaders(data, size, layout, kept) || layout.restartInterval != 0)
        return BadFormat;
    Recoded recoded;
    for (const auto &[at, length] : kept)
        recoded.head.insert(recoded.head.end(), data + at, data + at + length);
    recoded.scanHeader.assign(data + layout.scanHeader, data + layout.dataStart);
    recoded.components = layout.components;
    return recodeScan(layout, data + layout.dataStart, data + size, recoded, [](int, int16_t *, uint64_t &) {}, out, {});
}

int requantiseJpeg(const uchar *data, size_t size, const Requantisation &to, FILE *out,
                   const RecodingProgress &progress)
{
    Layout layout;
    std::vector<std::pair<size_t, size_t>> kept;
    if (!parseHeaders(data, size, layout, kept))
        return BadFormat;
    Recoded recoded;
    std::vector<uchar> &head = recoded.head;
    head = {0xFF, 0xD8};
    std::vector<uchar> jfif = {'J', 'F', 'I', 'F', 0, 1, 1, to.densityUnit};
    append16(jfif, to.densityX);
    append16(jfif, to.densityY);
    jfif.push_back(0);
    jfif.push_back(0);
    appendSegment(head, 0xE0, jfif);
    const bool colour = layout.components.size() > 1 && !to.grey;
    for (int t = 0; t < (colour ? 2 : 1); ++t) {
        std::vector<uchar> dqt = {uchar(t)};
        for (int k = 0; k < 64; ++k)
            dqt.push_back(uchar(to.tables[t][kNaturalOfZigzag[k]]));
        appendSegment(head, 0xDB, dqt);
    }
    // The frame's first component, the luminance, takes the first tables; the others the second.
    const auto tableOf = [&](const Component &c) { return c.id == layout.frameIds[0] ? 0 : 1; };
    float ratio[4][64];
    for (size_t i = 0; i < layout.components.size(); ++i) {
        const Component &c = layout.components[i];
        for (int k = 0; k < 64; ++k) {
            const int natural = kNaturalOfZigzag[k];
            ratio[i][k] = float(layout.quant[c.quant][natural]) / float(to.tables[tableOf(c)][natural]);
        }
    }
    // Grey keeps the luminance alone, one block a unit.
    if (to.grey) {
        const auto luminance = std::find_if(layout.components.begin(), layout.components.end(),
                                            [&](const Component &c) { return c.id == layout.frameIds[0]; });
        recoded.lone = int(luminance - layout.components.begin());
        recoded.components = {*luminance};
        recoded.components[0].h = recoded.components[0].v = 1;
    } else {
        recoded.components = layout.components;
    }
    std::vector<uchar> frame = {8};
    append16(frame, unsigned(layout.height));
    append16(frame, unsigned(layout.width));
    const std::vector<int> frameIds = to.grey ? std::vector<int>{layout.frameIds[0]} : layout.frameIds;
    frame.push_back(uchar(frameIds.size()));
    for (const int id : frameIds) {
        const Component &c = *std::find_if(recoded.components.begin(), recoded.components.end(),
                                           [id](const Component &x) { return x.id == id; });
        frame.insert(frame.end(), {uchar(c.id), uchar(c.h << 4 | c.v), uchar(tableOf(c))});
    }
    appendSegment(head, 0xC0, frame);
    std::vector<uchar> scan = {uchar(recoded.components.size())};
    for (Component &c : recoded.components) {
        const int table = tableOf(c);
        scan.insert(scan.end(), {uchar(c.id), uchar(table << 4 | table)});
        c.dc = c.ac = table;
    }
    scan.insert(scan.end(), {0, 63, 0});
    appendSegment(recoded.scanHeader, 0xDA, scan);
    recoded.tables = to.huffman[0][0].symbols.empty() ? nullptr : to.huffman;
    // Rounded to the nearest multiple of the new step, within what baseline
    // Huffman coding holds; those rounded to zero leave `nonZero`.
    const auto change = [&ratio](int c, int16_t *zigzag, uint64_t &nonZero) {
        const auto rounded = [&](int k, int low) {
            const float scaled = float(zigzag[k]) * ratio[c][k];
            return int16_t(std::clamp(int(scaled + std::copysign(0.5f, scaled)), low, 1023));
        };
        zigzag[0] = rounded(0, -1024);
        for (uint64_t left = nonZero; left != 0; left &= left - 1) {
            const int k = __builtin_ctzll(left);
            zigzag[k] = rounded(k, -1023);
            nonZero &= ~(uint64_t(zigzag[k] == 0) << k);
        }
    };
    return recodeScan(layout, data + layout.dataStart, data + size, recoded, change, out, progress);
}

}  // namespace sky
