// LZW and PackBits coding of TIFF strips, written here rather than left to
// libtiff, which took most of a conversion's time: photographs barely compress,
// so LZW nearly always misses its table (kept small and sparse, so that a miss
// is cheap) and PackBits nearly always copies (found eight bytes at a time).
#include "stripcodes.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <cstring>

namespace sky {
namespace {

constexpr unsigned kClear = 256;
constexpr unsigned kEndOfInformation = 257;
constexpr unsigned kFirstEntry = 258;
// The table starts afresh before a code would need 13 bits.
constexpr unsigned kTableFull = 4094;
constexpr int kMinWidth = 9;
constexpr int kMaxWidth = 12;
// Four times the entries a table can hold: with half as many slots, going on
// past taken slots made coding a third slower.
constexpr int kSlotBits = 14;
constexpr unsigned kSlots = 1u << kSlotBits;

// Codes packed from the most significant bit into bytes.
class CodeWriter {
public:
    explicit CodeWriter(uchar *out) : out_(out) {}
    void put(unsigned code, int width)
    {
        bits_ = bits_ << width | code;
        pending_ += width;
        if (pending_ >= 32) {
            pending_ -= 32;
            const auto word = uint32_t(bits_ >> pending_);
            out_[0] = uchar(word >> 24);
            out_[1] = uchar(word >> 16);
            out_[2] = uchar(word >> 8);
            out_[3] = uchar(word);
            out_ += 4;
        }
    }
    // The last bits, padded with zeros to a byte; returns the end of the code.
    uchar *finish()
    {
        for (; pending_ >= 8; pending_ -= 8)
            *out_++ = uchar(bits_ >> (pending_ - 8));
        if (pending_ > 0)
            *out_++ = uchar(bits_ << (8 - pending_));
        pending_ = 0;
        return out_;
    }

private:
    uchar *out_;
    uint64_t bits_ = 0;
    int pending_ = 0;
};

// The strings met so far, each a known string's code and one more byte. A slot
// holds the pair (20 bits) above its code (12 bits); codes are never 0, so an
// empty slot is 0.
class Table {
public:
    Table() { clear(); }
    void clear() { std::memset(slots_, 0, sizeof slots_); }
    // The code of `prefix` followed by `byte`, or 0 with `slot` where it goes.
    unsigned find(unsigned prefix, unsigned byte, unsigned &slot) const
    {
        const uint32_t pair = prefix << 8 | byte;
        unsigned at = (pair * 2654435761u) >> (32 - kSlotBits);
        for (;; at = (at + 1) & (kSlots - 1)) {
            const uint32_t entry = slots_[at];
            if (entry == 0) {
                slot = at;
                return 0;
            }
            if (entry >> 12 == pair)
                return entry & 0xfff;
        }
    }
    void add(unsigned slot, unsigned prefix, unsigned byte, unsigned code)
    {
        slots_[slot] = (prefix << 8 | byte) << 12 | code;
    }

private:
    uint32_t slots_[kSlots];
};

}  // namespace

void encodeTiffLzw(const uchar *data, size_t size, std::vector<uchar> &out)
{
    // At most one code of 12 bits for each byte, a Clear code for every table
    // of 3836 codes, and the codes around them.
    out.resize(size + size / 2 + size / 1024 + 16);
    CodeWriter writer(out.data());
    writer.put(kClear, kMinWidth);
    if (size == 0) {
        writer.put(kEndOfInformation, kMinWidth);
        out.resize(size_t(writer.finish() - out.data()));
        return;
    }
    auto table = std::make_unique<Table>();
    int width = kMinWidth;
    unsigned next = kFirstEntry;
    unsigned prefix = data[0];
    for (size_t i = 1; i < size; ++i) {
        const unsigned byte = data[i];
        unsigned slot = 0;
        if (const unsigned code = table->find(prefix, byte, slot)) {
            prefix = code;
            continue;
        }
        writer.put(prefix, width);
        table->add(slot, prefix, byte, next);
        if (++next == kTableFull) {
            writer.put(kClear, width);
            table->clear();
            next = kFirstEntry;
            width = kMinWidth;
        } else if (next > (1u << width) - 1) {
            ++width;
        }
        prefix = byte;
    }
    writer.put(prefix, width);
    // The reader adds an entry for the last code before it reads the next one.
    if (++next > (1u << width) - 1 && width < kMaxWidth)
        ++width;
    writer.put(kEndOfInformation, width);
    out.resize(size_t(writer.finish() - out.data()));
}

namespace {

constexpr size_t kLongestPiece = 128;

uint64_t load64(const uchar *p)
{
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Where the first run of three equal bytes at or after `from` starts, or `size`.
size_t nextRun(const uchar *row, size_t from, size_t size)
{
    constexpr uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    size_t i = from;
    // A zero byte in (a ^ b) | (b ^ c) marks three equal bytes from there.
    for (; i + 10 <= size; i += 8) {
        const uint64_t a = load64(row + i), b = load64(row + i + 1), c = load64(row + i + 2);
        const uint64_t differ = (a ^ b) | (b ^ c);
        if ((differ - ones) & ~differ & highs)
            break;
    }
    for (; i + 2 < size; ++i)
        if (row[i] == row[i + 1] && row[i] == row[i + 2])
            return i;
    return size;
}

}  // namespace

void appendPackBits(const uchar *row, size_t size, std::vector<uchar> &out)
{
    size_t i = 0;
    while (i < size) {
        const size_t run = nextRun(row, i, size);
        for (; i < run; ) {
            const size_t piece = std::min(kLongestPiece, run - i);
            out.push_back(uchar(piece - 1));
            out.insert(out.end(), row + i, row + i + piece);
            i += piece;
        }
        if (run == size)
            break;
        size_t length = 1;
        while (run + length < size && length < kLongestPiece && row[run + length] == row[run])
            ++length;
        out.push_back(uchar(257 - length));  // -(length - 1)
        out.push_back(row[run]);
        i = run + length;
    }
}

void differenceRow(uchar *row, size_t bytes, int samples)
{
    for (size_t i = bytes; i-- > size_t(samples);)
        row[i] = uchar(row[i] - row[i - size_t(samples)]);
}

}  // namespace sky
