#include "jpegscan.h"

#include <algorithm>

namespace sky::jpegscan {

const uchar kNaturalOfZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

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
            if (length > kLookahead)
                continue;
            const unsigned first = code << (kLookahead - length), spread = 1u << (kLookahead - length);
            std::fill_n(codes.lookahead + first, spread, uint16_t(length << 8 | symbol));
            const int size = symbol & 15, taken = length + size;
            if (size == 0 || size > 10 || taken > kLookahead)
                continue;
            for (unsigned i = 0; i < spread; ++i) {
                const unsigned bits = (i >> (kLookahead - taken)) & ((1u << size) - 1);
                codes.fast[first + i] = int32_t(uint32_t(extend(bits, size)) << 16) | (symbol >> 4) << 8 | taken;
            }
        }
        code <<= 1;
    }
    codes.defined = k == table.symbols.size();
    return codes.defined;
}

// A code the lookahead table gives lies within the window; bits taken, with the
// last code's, fit 5 bits.
static_assert(kSkipBits >= kLookahead && kSkipBits + 10 < 32);

void buildSkip(const Codes &codes, SkipCodes &skip)
{
    for (unsigned bits = 0; bits < (1u << kSkipBits); ++bits) {
        int taken = 0, passed = 0;
        bool ended = false;
        // The next code: the leading lookahead bits of what is left (zeros past the window).
        while (!ended && taken < kSkipBits) {
            const unsigned left = (bits << taken) & ((1u << kSkipBits) - 1);
            const uint16_t found = codes.lookahead[left >> (kSkipBits - kLookahead)];
            const int length = found >> 8, symbol = found & 0xFF, size = symbol & 15;
            if (found == 0 || size > 10 || length > kSkipBits - taken || passed > 63)
                break;
            taken += length + size;
            if (size == 0 && symbol != 0xF0)
                ended = true;
            else
                passed += size == 0 ? 16 : (symbol >> 4) + 1;
        }
        const int reach = taken == 0 ? 127 : std::min(passed + int(ended), 127);
        skip.entry[bits] = uint16_t(taken | reach << 5 | int(ended) << 12);
    }
    // The longer codes, by their prefix.
    int tables = 0;
    for (int symbol = 0; symbol < 256; ++symbol) {
        const int length = codes.length[symbol];
        if (length <= kLookahead)
            continue;
        const unsigned code = codes.code[symbol];
        const unsigned prefix = code >> (length - kLookahead);
        if (skip.longTable[prefix] == 0) {
            if (tables == kLongTables) {
                std::fill(std::begin(skip.longTable), std::end(skip.longTable), uchar(0));
                return;  // left to the ordinary decoding
            }
            skip.longTable[prefix] = uchar(++tables);
        }
        const unsigned rest = code & ((1u << (length - kLookahead)) - 1);
        const unsigned first = rest << (kLongestCode - length), spread = 1u << (kLongestCode - length);
        std::fill_n(skip.longCodes[skip.longTable[prefix] - 1] + first, spread, uint16_t(length << 8 | symbol));
    }
}

namespace {

bool readTables(const uchar *segment, size_t body, Layout &layout)
{
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
    return true;
}

bool readQuantisation(const uchar *segment, size_t body, Layout &layout)
{
    for (size_t p = 0; p < body;) {
        const int precision = segment[p] >> 4, slot = segment[p] & 15;
        const size_t bytes = precision == 0 ? 64 : 128;
        if (precision > 1 || slot > 3 || p + 1 + bytes > body)
            return false;
        for (int k = 0; k < 64; ++k) {
            const uchar *value = segment + p + 1 + (precision == 0 ? k : 2 * k);
            const uint16_t q = precision == 0 ? *value : be16(value);
            if (q == 0)
                return false;
            layout.quant[slot][kNaturalOfZigzag[k]] = q;
        }
        layout.quantDefined[slot] = true;
        p += 1 + bytes;
    }
    return true;
}

bool readFrame(const uchar *segment, size_t body, std::vector<Component> &frame, Layout &layout)
{
    if (body < 6 || segment[0] != 8 || !frame.empty())
        return false;
    layout.height = be16(segment + 1);
    layout.width = be16(segment + 3);
    const int count = segment[5];
    if (body != size_t(6 + 3 * count) || count < 1 || count > 4 || layout.width == 0 || layout.height == 0)
        return false;
    for (int i = 0; i < count; ++i) {
        const uchar *c = segment + 6 + 3 * i;
        Component component;
        component.id = c[0];
        component.h = c[1] >> 4;
        component.v = c[1] & 15;
        component.quant = c[2];
        if (component.h < 1 || component.h > 4 || component.v < 1 || component.v > 4 || component.quant > 3)
            return false;
        layout.hMax = std::max(layout.hMax, component.h);
        layout.vMax = std::max(layout.vMax, component.v);
        frame.push_back(component);
        layout.frameIds.push_back(component.id);
    }
    return true;
}

bool readScan(const uchar *segment, size_t body, const std::vector<Component> &frame, Layout &layout)
{
    const int count = body > 0 ? segment[0] : 0;
    if (frame.empty() || count != int(frame.size()) || body != size_t(4 + 2 * count))
        return false;
    for (int i = 0; i < count; ++i) {
        const uchar *s = segment + 1 + 2 * i;
        const auto found =
            std::find_if(frame.begin(), frame.end(), [&](const Component &c) { return c.id == s[0]; });
        // Every component of the frame once: a component named twice leaves another out.
        const auto named = [&](const Component &c) { return c.id == s[0]; };
        if (found == frame.end() || std::any_of(layout.components.begin(), layout.components.end(), named))
            return false;
        Component component = *found;
        component.dc = s[1] >> 4;
        component.ac = s[1] & 15;
        if (component.dc > 3 || component.ac > 3 || !layout.quantDefined[component.quant])
            return false;
        layout.components.push_back(component);
    }
    const uchar *spectral = segment + 1 + 2 * count;
    if (spectral[0] != 0 || spectral[1] != 63 || spectral[2] != 0)
        return false;
    if (layout.components.size() > 1) {
        int blocks = 0;
        for (const Component &c : layout.components)
            blocks += c.h * c.v;
        if (blocks > 10)  // the standard's most blocks in an MCU
            return false;
        layout.across = (layout.width + 8L * layout.hMax - 1) / (8L * layout.hMax);
        layout.down = (layout.height + 8L * layout.vMax - 1) / (8L * layout.vMax);
    } else {
        layout.across = blocksAcross(layout, layout.components.front());
        layout.down = blocksDown(layout, layout.components.front());
    }
    return true;
}

}  // namespace

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
        bool keep = true;
        bool read = true;
        if (marker == 0xC0 || marker == 0xC1) {  // baseline or extended sequential, Huffman
            read = readFrame(segment, body, frame, layout);
        } else if (marker == 0xC4) {
            read = readTables(segment, body, layout);
            keep = false;
        } else if (marker == 0xDB) {
            read = readQuantisation(segment, body, layout);
        } else if (marker == 0xDD) {
            read = body == 2;
            layout.restartInterval = read ? be16(segment) : 0;
        } else if (marker == 0xDA) {
            if (!readScan(segment, body, frame, layout))
                return false;
            layout.scanHeader = at;
            layout.dataStart = at + 2 + length;
            return true;
        } else if ((marker >= 0xC2 && marker <= 0xCF) || marker == 0xD8 || marker == 0xD9 ||
                   (marker >= 0xD0 && marker <= 0xD7)) {
            return false;  // another kind of frame, or a marker out of place
        }
        if (!read)
            return false;
        if (keep)
            kept.push_back({at, 2 + length});
        at += 2 + length;
    }
}

}  // namespace sky::jpegscan
