// A sequential Huffman JPEG's entropy-coded data read and written without
// libjpeg, a block at a time: what recodes a file without holding all of its
// coefficients, and what reads a picture's DC values for its thumbnail.
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace sky {

// A Huffman table as a DHT segment gives it: how many codes of each length
// from 1 to 16 bits, then the symbols from the shortest code on.
struct HuffmanTable {
    uchar counts[16] = {};
    std::vector<uchar> symbols;
};

namespace jpegscan {

constexpr int kLongestCode = 16;
constexpr int kLookahead = 10;  // bits decoded at once: nearly every code is shorter

// The coefficient order of the entropy-coded data, by position in natural (row) order.
extern const uchar kNaturalOfZigzag[64];

inline uint16_t be16(const uchar *p) { return uint16_t(p[0] << 8 | p[1]); }

// Codes of a table, by symbol, and what decoding needs: the codes of up to
// kLookahead bits straight from a table (length << 8 | symbol; 0: longer), the
// longer ones by the standard's F.2.2.3 (the largest code of each length, and
// where its symbols start).
struct Codes {
    uint16_t code[256] = {};
    uchar length[256] = {};
    uint16_t lookahead[1 << kLookahead] = {};
    // A coefficient whose code and bits both fit in kLookahead: its value << 16 |
    // run << 8 | bits taken; 0 for any other (and for symbols without bits).
    int32_t fast[1 << kLookahead] = {};
    int32_t maxCode[kLongestCode + 1] = {};
    int32_t offset[kLongestCode + 1] = {};
    uchar symbols[256] = {};
    bool defined = false;
};

bool build(const HuffmanTable &table, Codes &codes);

// The bits of an entropy-coded segment, stuffed zero bytes taken out; past its
// end (a marker) come zero bits, counted, so that running over shows.
class BitReader {
public:
    BitReader(const uchar *data, const uchar *end) : p_(data), end_(end) {}
    unsigned peek(int n)
    {
        ensure(n);
        return look(n);
    }
    // Makes sure at least `n` bits (up to 57) can be looked at without a check.
    [[gnu::always_inline]] void ensure(int n)
    {
        if (count_ < n)
            fill();
    }
    // As ensure(32), without a branch the processor cannot foresee: as many whole
    // bytes as fit taken every time, unless a 0xFF is among the next eight.
    [[gnu::always_inline]] void topUp()
    {
        if (count_ < 64 && end_ - p_ >= 8) [[likely]] {
            uint64_t word;
            std::memcpy(&word, p_, sizeof word);
            if (((~word - 0x0101010101010101u) & word & 0x8080808080808080u) == 0) [[likely]] {
                bits_ |= __builtin_bswap64(word) >> count_;
                const int whole = (63 - count_) >> 3;
                p_ += whole;
                count_ += 8 * whole;
                return;
            }
        }
        ensure(32);
    }
    unsigned look(int n) const { return unsigned(bits_ >> (64 - n)); }
    void skip(int n)
    {
        bits_ <<= n;
        count_ -= n;
    }
    unsigned read(int n)
    {
        if (n == 0)
            return 0;
        const unsigned value = peek(n);
        skip(n);
        return value;
    }
    // Whether every bit read came from the segment.
    bool withinData() const { return count_ >= padding_; }
    // Whether no more than a byte's padding is left of the segment: only sure
    // once the reader has gone up to the marker, which peek(57) makes it do.
    bool atEnd() const { return count_ - padding_ < 8; }
    const uchar *position() const { return p_; }

private:
    [[gnu::always_inline]] void fill()
    {
        while (count_ <= 56) {
            // Eight bytes at once up to the first 0xFF among them: the bytes
            // that do not fit whole are ORed in too, and again, the same, by
            // the next fill (past a 0xFF byte they are left out).
            if (end_ - p_ >= 8) [[likely]] {
                uint64_t word;
                std::memcpy(&word, p_, sizeof word);
                const uint64_t ones = (~word - 0x0101010101010101u) & word & 0x8080808080808080u;
                const int whole = (64 - count_) / 8;
                const int taken = ones == 0 ? whole : std::min(whole, __builtin_ctzll(ones) / 8);
                if (taken > 0) {
                    word = __builtin_bswap64(word);
                    if (ones != 0)
                        word &= ~(~uint64_t(0) >> (8 * taken));
                    bits_ |= word >> count_;
                    p_ += taken;
                    count_ += 8 * taken;
                    continue;
                }
                if (p_[1] == 0) {  // a stuffed 0xFF: common where long codes are, all ones
                    bits_ |= uint64_t(0xFF) << (56 - count_);
                    p_ += 2;
                    count_ += 8;
                    continue;
                }
            }
            *this = withByte(*this);
        }
    }
    // The next byte: 0xFF of a stuffed pair; zero, counted, at a marker or the
    // end. Taken and given back by value, so that a reader kept in a loop's
    // registers stays there.
    [[gnu::noinline]] static BitReader withByte(BitReader r)
    {
        uchar byte = 0;
        if (r.p_ < r.end_ && !(r.p_[0] == 0xFF && (r.p_ + 1 >= r.end_ || r.p_[1] != 0))) {
            byte = *r.p_;
            r.p_ += byte == 0xFF ? 2 : 1;
        } else {
            r.padding_ += 8;
        }
        r.bits_ |= uint64_t(byte) << (56 - r.count_);
        r.count_ += 8;
        return r;
    }
    const uchar *p_;
    const uchar *end_;
    uint64_t bits_ = 0;
    int count_ = 0;
    int padding_ = 0;
};

// The next symbol, with at least kLongestCode bits already ensured.
[[gnu::always_inline]] inline int decodeLoaded(BitReader &in, const Codes &codes)
{
    const unsigned bits = in.look(kLongestCode);
    if (const uint16_t entry = codes.lookahead[bits >> (kLongestCode - kLookahead)]) {
        in.skip(entry >> 8);
        return entry & 0xFF;
    }
    int length = kLookahead + 1;
    while (length <= kLongestCode && int32_t(bits >> (kLongestCode - length)) > codes.maxCode[length])
        ++length;
    if (length > kLongestCode)
        return -1;
    in.skip(length);
    return codes.symbols[codes.offset[length] + int32_t(bits >> (kLongestCode - length))];
}

inline int decodeSymbol(BitReader &in, const Codes &codes)
{
    in.ensure(kLongestCode);
    return decodeLoaded(in, codes);
}

// A coefficient from its `size` bits, as the standard's F.2.2.1 extends them.
inline int extend(unsigned bits, int size)
{
    return size == 0 ? 0 : int(bits) < (1 << (size - 1)) ? int(bits) - (1 << size) + 1 : int(bits);
}

// Codes with zero bytes stuffed after 0xFF, written to a file in pieces.
class BitWriter {
public:
    explicit BitWriter(FILE *file) : file_(file), buffer_(kPiece + kRunBytes) {}

    // Codes put through a run stay in registers (through the writer, each would
    // be stored and loaded again); a run puts no more than kRunBytes, a block's
    // codes at most.
    class Run {
    public:
        explicit Run(BitWriter &writer)
            : writer_(writer), bits_(writer.bits_), count_(writer.count_), at_(writer.buffer_.data() + writer.used_)
        {
        }
        ~Run()
        {
            writer_.bits_ = bits_;
            writer_.count_ = count_;
            writer_.used_ = size_t(at_ - writer_.buffer_.data());
            if (writer_.used_ >= kPiece)
                writer_.flush();
        }
        Run(const Run &) = delete;
        Run &operator=(const Run &) = delete;

        // Up to 32 bits. They go out eight bytes at a time: a branch taken once
        // every few codes, which the processor predicts, where one a byte is not.
        void put(unsigned value, int n)
        {
            if (count_ + n < 64) {
                bits_ = bits_ << n | value;
                count_ += n;
                return;
            }
            const int room = 64 - count_;
            const uint64_t full = bits_ << room | uint64_t(value) >> (n - room);
            count_ = n - room;
            bits_ = value & ((uint64_t(1) << count_) - 1);
            if (((~full - 0x0101010101010101u) & full & 0x8080808080808080u) == 0) {  // no 0xFF byte
                const uint64_t big = __builtin_bswap64(full);
                std::memcpy(at_, &big, 8);
                at_ += 8;
            } else {
                for (int shift = 56; shift >= 0; shift -= 8)
                    putByte(char8_t(full >> shift));
            }
        }
        // Pads the last byte with ones, as the standard asks, and puts out what is left.
        void pad()
        {
            if (count_ % 8 != 0)
                put((1u << (8 - count_ % 8)) - 1, 8 - count_ % 8);
            for (; count_ > 0; count_ -= 8)
                putByte(char8_t(bits_ >> (count_ - 8)));
        }

    private:
        void putByte(char8_t byte)
        {
            *at_++ = byte;
            if (byte == 0xFF)
                *at_++ = 0;
        }
        BitWriter &writer_;
        uint64_t bits_;
        int count_;
        char8_t *at_;
    };

    void bytes(const uchar *data, size_t size)
    {
        flush();
        ok_ = ok_ && std::fwrite(data, 1, size, file_) == size;
    }
    bool written()
    {
        flush();
        return ok_;
    }

private:
    static constexpr size_t kPiece = size_t(1) << 16;
    static constexpr size_t kRunBytes = 1024;
    void flush()
    {
        ok_ = ok_ && std::fwrite(buffer_.data(), 1, used_, file_) == used_;
        used_ = 0;
    }
    FILE *file_;
    // char8_t, unlike uchar, aliases nothing: storing a byte does not make the
    // compiler load again every value it holds.
    std::vector<char8_t> buffer_;
    size_t used_ = 0;
    uint64_t bits_ = 0;
    int count_ = 0;
    bool ok_ = true;
};

struct Component {
    int id = 0;
    int h = 1;
    int v = 1;
    int quant = 0;  // table of the frame
    int dc = 0;     // tables of the scan
    int ac = 0;
};

// What the headers say of a picture coded in one sequential scan of all its
// components, 8 bits a sample, with Huffman codes.
struct Layout {
    int width = 0;
    int height = 0;
    std::vector<Component> components;  // in the scan's order
    std::vector<int> frameIds;           // the components' ids in the frame's order
    HuffmanTable tables[2][4];           // DC, AC
    uint16_t quant[4][64] = {};          // in natural order
    bool quantDefined[4] = {};
    int restartInterval = 0;  // units between restart markers; 0: none
    size_t scanHeader = 0;    // where the SOS marker starts
    size_t dataStart = 0;     // after the SOS segment
    int hMax = 1;
    int vMax = 1;
    // Units of the scan: MCUs when interleaved, else the component's blocks.
    long across = 0;
    long down = 0;
};

// Reads the headers up to the scan; `kept` gets the segments other than the
// Huffman tables, as (offset, length), SOI first. False for any other kind of
// file: progressive, arithmetic, 12-bit, several scans, a table missing.
bool parseHeaders(const uchar *data, size_t size, Layout &layout, std::vector<std::pair<size_t, size_t>> &kept);

// Blocks across and down a component covers of the picture's own size.
inline long blocksAcross(const Layout &l, const Component &c)
{
    return ((long(l.width) * c.h + l.hMax - 1) / l.hMax + 7) / 8;
}
inline long blocksDown(const Layout &l, const Component &c)
{
    return ((long(l.height) * c.v + l.vMax - 1) / l.vMax + 7) / 8;
}

// Decodes a block's coefficients into `zigzag`, its DC added to `predictor`,
// the places of the AC coefficients not zero set in `nonZero` (bit k): only
// those are written.
inline bool decodeBlock(BitReader &in, const Codes &dcCodes, const Codes &acCodes, int &predictor, int16_t *zigzag,
                        uint64_t &nonZero)
{
    // A code and its bits take at most 27 bits.
    in.ensure(32);
    const int dc = decodeLoaded(in, dcCodes);
    if (dc < 0 || dc > 11)
        return false;
    predictor += extend(in.read(dc), dc);
    zigzag[0] = int16_t(predictor);
    uint64_t found = 0;
    for (int k = 1; k < 64;) {
        in.ensure(32);
        if (const int32_t fast = acCodes.fast[in.look(kLookahead)]) {
            k += (fast >> 8) & 15;
            if (k > 63)
                return false;
            zigzag[k] = int16_t(fast >> 16);
            found |= uint64_t(1) << k;
            in.skip(fast & 0xFF);
            ++k;
            continue;
        }
        const int rs = decodeLoaded(in, acCodes);
        if (rs < 0)
            return false;
        const int run = rs >> 4, size = rs & 15;
        if (size == 0) {
            if (run != 15)
                break;  // end of block
            k += 16;
            continue;
        }
        k += run;
        if (k > 63 || size > 10)
            return false;
        zigzag[k] = int16_t(extend(in.read(size), size));
        found |= uint64_t(1) << k;
        ++k;
    }
    nonZero = found;
    return in.withinData();
}

// What going over a block's AC codes without their values takes from the next
// kSkipBits bits: as many codes as they hold, up to an end of block, with their
// bits (those of the last may run past the window: they are only gone over).
// An entry is bits taken | reach << 5 | ended by an end of block << 12, where
// reach is the coefficients passed, and one more after an end of block: the
// codes stay within a block from place k when k + reach <= 64. Where not even
// one code fits, reach is beyond any block.
constexpr int kSkipBits = 12;
// Codes longer than kLookahead bits, found by their first kLookahead bits (a
// table of the longer ones, numbered from 1; 0 for a code or for too many such
// prefixes) and the bits after them, as the lookahead table gives the others.
constexpr int kLongTables = 8;
struct SkipCodes {
    uint16_t entry[1 << kSkipBits] = {};
    uchar longTable[1 << kLookahead] = {};
    uint16_t longCodes[kLongTables][1 << (kLongestCode - kLookahead)] = {};
};

void buildSkip(const Codes &codes, SkipCodes &skip);

// The zigzag places a reading that keeps only the lowest frequencies keeps:
// the DC and the first horizontal and vertical frequencies, which carry most
// of the mean of a quarter of the block.
constexpr int kLowPlaces = 3;

// Goes over a block's coefficients, its DC added to `predictor`, several AC
// codes at a look-up: the same reading as decodeBlock, without keeping the
// values. With `kLow`, its first kLowPlaces coefficients go to `low` (DC
// undifferenced), the others zero.
template <bool kLow>
[[gnu::always_inline]] inline bool skipBlock(BitReader &in, const Codes &dcCodes, const Codes &acCodes,
                                             const SkipCodes &skip, int &predictor, int16_t *low)
{
    int dcValue = predictor;
    bool ok = true;
    in.ensure(32);
    // The code and its bits at one look: in pictures of sharp edges, code and bits
    // outgrow the fast table as often as not, a branch no processor foresees.
    if (const uint16_t entry = dcCodes.lookahead[in.look(kLookahead)];
        entry != 0 && (entry & 0xFF) <= 11) {
        const int length = entry >> 8, size = entry & 0xFF;
        dcValue += extend(in.look(length + size) & ((1u << size) - 1), size);
        in.skip(length + size);
    } else {
        const int dc = decodeLoaded(in, dcCodes);
        ok = dc >= 0 && dc <= 11;
        if (ok)
            dcValue += extend(in.read(dc), dc);
    }
    const int kept = kLow ? kLowPlaces : 1;
    if constexpr (kLow) {
        std::fill_n(low, kLowPlaces, int16_t(0));
        low[0] = int16_t(dcValue);
    }
    for (int k = 1; ok && k < 64;) {
        in.topUp();
        if (kLow && k < kept) {
            // A code whose value is kept: as decodeBlock reads it.
            if (const int32_t fast = acCodes.fast[in.look(kLookahead)]) {
                k += (fast >> 8) & 15;
                ok = k <= 63;
                if (k < kept)
                    low[k] = int16_t(fast >> 16);
                in.skip(fast & 0xFF);
                ++k;
                continue;
            }
            const int rs = decodeLoaded(in, acCodes);
            const int run = rs >> 4, size = rs & 15;
            if (rs < 0) {
                ok = false;
            } else if (size == 0) {
                if (run != 15)
                    break;
                k += 16;
            } else {
                k += run;
                ok = k <= 63 && size <= 10;
                const int value = extend(in.read(size), size);
                if (ok && k < kept)
                    low[k] = int16_t(value);
                ++k;
            }
            continue;
        }
        const unsigned entry = skip.entry[in.look(kSkipBits)];
        if (k + int((entry >> 5) & 127) <= 64) [[likely]] {
            in.skip(int(entry & 31));
            if (entry >> 12)
                break;
            k += int(entry >> 5) & 127;
            continue;
        }
        int rs = -1;
        if (const int table = skip.longTable[in.look(kLookahead)]) {
            constexpr unsigned kRest = (1u << (kLongestCode - kLookahead)) - 1;
            const uint16_t found = skip.longCodes[table - 1][in.look(kLongestCode) & kRest];
            in.skip(found >> 8);
            rs = found ? found & 0xFF : -1;
        } else {
            rs = decodeLoaded(in, acCodes);
        }
        const int run = rs >> 4, size = rs & 15;
        if (rs < 0) {
            ok = false;
        } else if (size == 0) {
            if (run != 15)
                break;  // end of block
            k += 16;
        } else {
            k += run;
            ok = k <= 63 && size <= 10;
            in.skip(size);
            ++k;
        }
    }
    predictor = dcValue;
    return ok && in.withinData();
}

// Decodes every block of the scan in order: `visit(c, unit, block, zigzag,
// nonZero)` with the component's index in the scan, the unit (MCU) and the
// block's place in it, its coefficients in zigzag order, DC undifferenced, and
// the places of the AC coefficients written (bit k; the others are not): those
// not zero. Only the components in the mask `withAc` (bit c) get their AC
// coefficients; the others only zigzag[0], or, those in the mask `withLow`,
// their first kLowPlaces coefficients, all written. Before each row of units,
// `atRow(row, at)` with where the reading is in the data: false stops. `stop`
// gets where the data ends.
// False on damaged data, a restart marker out of place, or stopped.
template <bool kOnlyGoneOver, typename Visit, typename AtRow>
bool decodeUnits(const Layout &layout, const Codes (&codes)[2][4], const uchar *data, const uchar *end,
                 unsigned withAc, Visit visit, AtRow atRow, const uchar **stop, unsigned withLow);

template <typename Visit, typename AtRow>
bool decodeBlocks(const Layout &layout, const Codes (&codes)[2][4], const uchar *data, const uchar *end,
                  unsigned withAc, Visit visit, AtRow atRow, const uchar **stop, unsigned withLow = 0)
{
    // Without any block decoded whole, the reader is never handed out, and stays in registers.
    return withAc == 0 ? decodeUnits<true>(layout, codes, data, end, withAc, visit, atRow, stop, withLow)
                       : decodeUnits<false>(layout, codes, data, end, withAc, visit, atRow, stop, withLow);
}

template <bool kOnlyGoneOver, typename Visit, typename AtRow>
bool decodeUnits(const Layout &layout, const Codes (&codes)[2][4], const uchar *data, const uchar *end,
                 unsigned withAc, Visit visit, AtRow atRow, const uchar **stop, unsigned withLow)
{
    const bool interleaved = layout.components.size() > 1;
    for (const Component &c : layout.components)
        if (!codes[0][c.dc].defined || !codes[1][c.ac].defined)
            return false;
    int predictor[4] = {};
    int16_t zigzag[64];
    // The AC tables of the components whose AC codes are only gone over.
    std::vector<SkipCodes> skips;
    const SkipCodes *skipOf[4] = {};
    for (size_t ci = 0; ci < layout.components.size(); ++ci) {
        if ((withAc >> ci) & 1)
            continue;
        if (skips.empty())
            skips.resize(4);
        const int table = layout.components[ci].ac;
        if (!skipOf[ci]) {
            buildSkip(codes[1][table], skips[size_t(table)]);
            for (size_t other = ci; other < layout.components.size(); ++other)
                if (layout.components[other].ac == table)
                    skipOf[other] = &skips[size_t(table)];
        }
    }
    BitReader in(data, end);
    const long units = layout.across * layout.down;
    // The row and the place in it counted rather than divided: a division a unit shows.
    long row = 0, column = 0;
    for (long unit = 0, left = layout.restartInterval; unit < units; ++unit, --left, ++column) {
        if (layout.restartInterval > 0 && left == 0) {
            // The segment ends on a byte, then comes RSTn, counting from 0 modulo 8.
            in.peek(57);
            const uchar *marker = in.position();
            const int expected = 0xD0 + int((unit / layout.restartInterval - 1) % 8);
            if (!in.atEnd() || marker + 2 > end || marker[0] != 0xFF || marker[1] != expected)
                return false;
            in = BitReader(marker + 2, end);
            std::fill(std::begin(predictor), std::end(predictor), 0);
            left = layout.restartInterval;
        }
        if (column == layout.across) {
            column = 0;
            ++row;
        }
        if (column == 0 && !atRow(row, in.position()))
            return false;
        for (size_t ci = 0; ci < layout.components.size(); ++ci) {
            const Component &c = layout.components[ci];
            const Codes &dcCodes = codes[0][c.dc];
            const Codes &acCodes = codes[1][c.ac];
            const bool store = (withAc >> ci) & 1;
            const int blocks = interleaved ? c.h * c.v : 1;
            for (int b = 0; b < blocks; ++b) {
                uint64_t nonZero = 0;
                if (!store) {
                    const bool low = (withLow >> ci) & 1;
                    if (!(low ? skipBlock<true>(in, dcCodes, acCodes, *skipOf[ci], predictor[ci], zigzag)
                              : skipBlock<false>(in, dcCodes, acCodes, *skipOf[ci], predictor[ci], zigzag)))
                        return false;
                    zigzag[0] = int16_t(predictor[ci]);
                    nonZero = low ? ((uint64_t(1) << kLowPlaces) - 2) : 0;
                } else if constexpr (!kOnlyGoneOver) {
                    if (!decodeBlock(in, dcCodes, acCodes, predictor[ci], zigzag, nonZero))
                        return false;
                }
                visit(int(ci), unit, b, zigzag, nonZero);
            }
        }
    }
    in.peek(57);
    *stop = in.position();
    return in.atEnd();
}

}  // namespace jpegscan
}  // namespace sky
