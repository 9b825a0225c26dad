#include "jpegtables.h"

#include "sky.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace sky {
namespace {

constexpr int kLongestCode = 16;
constexpr int kLookahead = 10;  // bits decoded at once: nearly every code is shorter

uint16_t be16(const uchar *p) { return uint16_t(p[0] << 8 | p[1]); }

// Codes of a table, by symbol, and what decoding needs: the codes of up to
// kLookahead bits straight from a table (length << 8 | symbol; 0: longer), the
// longer ones by the standard's F.2.2.3 (the largest code of each length, and
// where its symbols start).
struct Codes {
    uint16_t code[256] = {};
    uchar length[256] = {};
    uint16_t lookahead[1 << kLookahead] = {};
    int32_t maxCode[kLongestCode + 1] = {};
    int32_t offset[kLongestCode + 1] = {};
    uchar symbols[256] = {};
    bool defined = false;
};

bool build(const HuffmanTable &table, Codes &codes)
{
    codes = Codes();
    if (table.symbols.empty() || table.symbols.size() > 256)
        return false;
    uint32_t code = 0;
    size_t k = 0;
    for (int length = 1; length <= kLongestCode; ++length) {
        const int count = table.counts[length - 1];
        codes.offset[length] = int32_t(k) - int32_t(code);
        codes.maxCode[length] = count > 0 ? int32_t(code) + count - 1 : -1;
        for (int i = 0; i < count; ++i, ++code, ++k) {
            if (k >= table.symbols.size() || code >= (1u << length))
                return false;
            const uchar symbol = table.symbols[k];
            codes.symbols[k] = symbol;
            codes.code[symbol] = uint16_t(code);
            codes.length[symbol] = uchar(length);
            if (length <= kLookahead)
                std::fill_n(codes.lookahead + (code << (kLookahead - length)), 1u << (kLookahead - length),
                            uint16_t(length << 8 | symbol));
        }
        code <<= 1;
    }
    codes.defined = k == table.symbols.size();
    return codes.defined;
}

// The bits of an entropy-coded segment, stuffed zero bytes taken out; past its
// end (a marker) come zero bits, counted, so that running over shows.
class BitReader {
public:
    BitReader(const uchar *data, const uchar *end) : p_(data), end_(end) {}
    unsigned peek(int n)
    {
        if (count_ < n)
            fill();
        return unsigned(bits_ >> (64 - n));
    }
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
    // Whether no more than a byte's padding is left of the segment.
    bool atEnd() const { return count_ - padding_ < 8; }
    const uchar *position() const { return p_; }

private:
    void fill()
    {
        // Eight bytes at once where none of them is 0xFF: the bytes that do not
        // fit whole are ORed in too, and again, the same, by the next fill.
        if (end_ - p_ >= 8) {
            uint64_t word;
            std::memcpy(&word, p_, sizeof word);
            if (((~word - 0x0101010101010101u) & word & 0x8080808080808080u) == 0) {
                word = __builtin_bswap64(word);
                bits_ |= word >> count_;
                const int whole = (64 - count_) / 8;
                p_ += whole;
                count_ += 8 * whole;
                return;
            }
        }
        while (count_ <= 56) {
            uchar byte = 0;
            if (p_ < end_ && !(p_[0] == 0xFF && (p_ + 1 >= end_ || p_[1] != 0))) {
                byte = *p_;
                p_ += byte == 0xFF ? 2 : 1;
            } else {
                padding_ += 8;
            }
            bits_ |= uint64_t(byte) << (56 - count_);
            count_ += 8;
        }
    }
    const uchar *p_;
    const uchar *end_;
    uint64_t bits_ = 0;
    int count_ = 0;
    int padding_ = 0;
};

inline int decodeSymbol(BitReader &in, const Codes &codes)
{
    const unsigned bits = in.peek(kLongestCode);
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

// Codes with zero bytes stuffed after 0xFF, written to a file in pieces.
class BitWriter {
public:
    explicit BitWriter(FILE *file) : file_(file), buffer_(kPiece + 16) {}
    void put(unsigned value, int n)
    {
        bits_ = bits_ << n | value;
        count_ += n;
        while (count_ >= 8) {
            count_ -= 8;
            const auto byte = uchar(bits_ >> count_);
            buffer_[used_++] = byte;
            if (byte == 0xFF)
                buffer_[used_++] = 0;
        }
        if (used_ >= kPiece)
            flush();
    }
    void bytes(const uchar *data, size_t size)
    {
        flush();
        ok_ = ok_ && std::fwrite(data, 1, size, file_) == size;
    }
    // Pads the last byte with ones, as the standard asks.
    void pad()
    {
        if (count_ > 0)
            put((1u << (8 - count_)) - 1, 8 - count_);
    }
    bool written()
    {
        flush();
        return ok_;
    }

private:
    static constexpr size_t kPiece = size_t(1) << 16;
    void flush()
    {
        ok_ = ok_ && std::fwrite(buffer_.data(), 1, used_, file_) == used_;
        used_ = 0;
    }
    FILE *file_;
    std::vector<uchar> buffer_;
    size_t used_ = 0;
    uint64_t bits_ = 0;
    int count_ = 0;
    bool ok_ = true;
};

struct Component {
    int id = 0;
    int h = 1;
    int v = 1;
    int dc = 0;  // tables of the scan
    int ac = 0;
};

// What the headers say of the one scan.
struct Layout {
    int width = 0;
    int height = 0;
    std::vector<Component> components;  // in the scan's order
    HuffmanTable tables[2][4];           // DC, AC
    size_t scanHeader = 0;               // where the SOS marker starts
    size_t dataStart = 0;                // after the SOS segment
};

bool parseHeaders(const uchar *data, size_t size, Layout &layout, std::vector<std::pair<size_t, size_t>> &kept)
{
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    std::vector<Component> frame;
    size_t at = 2;
    kept.push_back({0, 2});
    for (;;) {
        if (at + 4 > size || data[at] != 0xFF)
            return false;
        const uchar marker = data[at + 1];
        const size_t length = be16(data + at + 2);
        if (length < 2 || at + 2 + length > size)
            return false;
        const uchar *segment = data + at + 4;
        const size_t body = length - 2;
        if (marker == 0xC0) {  // baseline frame
            if (body < 6 || segment[0] != 8)
                return false;
            layout.height = be16(segment + 1);
            layout.width = be16(segment + 3);
            const int count = segment[5];
            if (body != size_t(6 + 3 * count) || count < 1 || layout.width == 0 || layout.height == 0)
                return false;
            for (int i = 0; i < count; ++i) {
                const uchar *c = segment + 6 + 3 * i;
                Component component;
                component.id = c[0];
                component.h = c[1] >> 4;
                component.v = c[1] & 15;
                if (component.h < 1 || component.h > 4 || component.v < 1 || component.v > 4)
                    return false;
                frame.push_back(component);
            }
        } else if (marker == 0xC4) {  // tables, left out: the file gets its own
            for (size_t p = 0; p < body;) {
                if (p + 17 > body)
                    return false;
                const int kind = segment[p] >> 4, slot = segment[p] & 15;
                if (kind > 1 || slot > 3)
                    return false;
                HuffmanTable &table = layout.tables[kind][slot];
                std::memcpy(table.counts, segment + p + 1, 16);
                size_t symbols = 0;
                for (const uchar c : table.counts)
                    symbols += c;
                if (p + 17 + symbols > body)
                    return false;
                table.symbols.assign(segment + p + 17, segment + p + 17 + symbols);
                p += 17 + symbols;
            }
            at += 2 + length;
            continue;
        } else if (marker == 0xDD) {  // restart interval
            if (body != 2 || be16(segment) != 0)
                return false;
        } else if (marker == 0xDA) {
            const int count = body > 0 ? segment[0] : 0;
            if (frame.empty() || count != int(frame.size()) || body != size_t(4 + 2 * count))
                return false;
            for (int i = 0; i < count; ++i) {
                const uchar *s = segment + 1 + 2 * i;
                const auto found = std::find_if(frame.begin(), frame.end(),
                                                [&](const Component &c) { return c.id == s[0]; });
                if (found == frame.end())
                    return false;
                Component component = *found;
                component.dc = s[1] >> 4;
                component.ac = s[1] & 15;
                if (component.dc > 3 || component.ac > 3)
                    return false;
                layout.components.push_back(component);
            }
            const uchar *spectral = segment + 1 + 2 * count;
            if (spectral[0] != 0 || spectral[1] != 63 || spectral[2] != 0)
                return false;
            layout.scanHeader = at;
            layout.dataStart = at + 2 + length;
            return true;
        } else if ((marker >= 0xC1 && marker <= 0xCF) || marker == 0xD8 || marker == 0xD9 ||
                   (marker >= 0xD0 && marker <= 0xD7)) {
            return false;  // another kind of frame, or a marker out of place
        }
        kept.push_back({at, 2 + length});
        at += 2 + length;
    }
}

// Goes over every block of the scan: `visit(table, symbol, bits, n)` for each
// Huffman symbol (table 0-3 DC, 4-7 AC) and the `n` bits that follow it.
template <typename Visit>
bool walk(const Layout &layout, const Codes (&codes)[2][4], const uchar *data, const uchar *end, Visit visit,
          const uchar **stop)
{
    int hMax = 1, vMax = 1;
    for (const Component &c : layout.components) {
        hMax = std::max(hMax, c.h);
        vMax = std::max(vMax, c.v);
    }
    const bool interleaved = layout.components.size() > 1;
    const Component &only = layout.components.front();
    // A lone component's blocks cover its own size, in raster order.
    const long across = interleaved ? (layout.width + 8L * hMax - 1) / (8L * hMax)
                                    : ((layout.width * long(only.h) + hMax - 1) / hMax + 7) / 8;
    const long down = interleaved ? (layout.height + 8L * vMax - 1) / (8L * vMax)
                                  : ((layout.height * long(only.v) + vMax - 1) / vMax + 7) / 8;
    for (const Component &c : layout.components)
        if (!codes[0][c.dc].defined || !codes[1][c.ac].defined)
            return false;
    BitReader in(data, end);
    const long units = across * down;
    for (long unit = 0; unit < units; ++unit) {
        for (const Component &c : layout.components) {
            const int blocks = interleaved ? c.h * c.v : 1;
            for (int b = 0; b < blocks; ++b) {
                const int dc = decodeSymbol(in, codes[0][c.dc]);
                if (dc < 0 || dc > 11)
                    return false;
                visit(c.dc, dc, in.read(dc), dc);
                for (int k = 1; k < 64;) {
                    const int rs = decodeSymbol(in, codes[1][c.ac]);
                    if (rs < 0)
                        return false;
                    const int run = rs >> 4, size = rs & 15;
                    visit(4 + c.ac, rs, in.read(size), size);
                    if (size == 0) {
                        if (run != 15)
                            break;  // end of block
                        k += 16;
                        continue;
                    }
                    k += run;
                    if (k > 63 || size > 10)
                        return false;
                    ++k;
                }
                if (!in.withinData())
                    return false;
            }
        }
    }
    *stop = in.position();
    return in.atEnd();
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
    if (!parseHeaders(data, size, layout, kept))
        return BadFormat;
    Codes standard[2][4];
    for (int kind = 0; kind < 2; ++kind)
        for (int slot = 0; slot < 4; ++slot)
            if (!layout.tables[kind][slot].symbols.empty() &&
                !build(layout.tables[kind][slot], standard[kind][slot]))
                return BadFormat;

    // First the symbols are counted, then coded again with tables of their own.
    std::array<long, 256> counted[8] = {};
    const uchar *stop = nullptr;
    const uchar *end = data + size;
    if (!walk(layout, standard, data + layout.dataStart, end,
              [&](int table, int symbol, unsigned, int) { ++counted[table][size_t(symbol)]; }, &stop))
        return BadFormat;
    // The scan ends the file.
    if (stop + 2 != end || stop[0] != 0xFF || stop[1] != 0xD9)
        return BadFormat;
    HuffmanTable own[2][4];
    Codes codes[2][4];
    bool used[2][4] = {};
    for (const Component &c : layout.components) {
        used[0][c.dc] = used[1][c.ac] = true;
    }
    std::vector<uchar> segment = {0xFF, 0xC4, 0, 0};
    for (int kind = 0; kind < 2; ++kind)
        for (int slot = 0; slot < 4; ++slot) {
            if (!used[kind][slot])
                continue;
            own[kind][slot] = optimalTable(counted[4 * kind + slot]);
            if (!build(own[kind][slot], codes[kind][slot]))
                return BadFormat;
            segment.push_back(uchar(kind << 4 | slot));
            segment.insert(segment.end(), own[kind][slot].counts, own[kind][slot].counts + 16);
            segment.insert(segment.end(), own[kind][slot].symbols.begin(), own[kind][slot].symbols.end());
        }
    segment[2] = uchar((segment.size() - 2) >> 8);
    segment[3] = uchar(segment.size() - 2);

    BitWriter writer(out);
    for (const auto &[at, length] : kept)
        writer.bytes(data + at, length);
    writer.bytes(segment.data(), segment.size());
    writer.bytes(data + layout.scanHeader, layout.dataStart - layout.scanHeader);
    const Codes(&coding)[2][4] = codes;
    const bool walked = walk(
        layout, standard, data + layout.dataStart, end,
        [&](int table, int symbol, unsigned bits, int n) {
            const Codes &c = coding[table / 4][table % 4];
            writer.put(unsigned(c.code[symbol]) << n | bits, c.length[symbol] + n);
        },
        &stop);
    // The same walk as the first cannot fail.
    if (!walked)
        return Failed;
    writer.pad();
    const uchar eoi[2] = {0xFF, 0xD9};
    writer.bytes(eoi, 2);
    return writer.written() ? Ok : WriteError;
}

}  // namespace sky
