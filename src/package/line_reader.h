// Reading the text header of an update package: one line per read of at most 255 bytes
// into a fixed buffer, trimming, and the column fields of a line.
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tarnwick {

constexpr size_t kLineBufferSize = 256;

// One header line as one read returned it: the bytes up to and including the first LF, or
// 255 bytes. The text ends at its first NUL; length() counts up to there, CR included.
class HeaderLine {
public:
    // Reads the next line from a binary stream. false when the stream is at its end before
    // any byte was read (the buffer then holds an empty text).
    bool read(std::FILE* file);

    // Takes a line from memory as a read would have returned it (for tests and tools).
    void assign(std::string_view bytes);

    size_t length() const { return length_; }
    std::string_view text() const { return std::string_view(buffer_.data(), length_); }

    // The text without trailing space, tab, CR, LF, VT and FF; leading white space stays.
    std::string trimmed() const;

    // Columns first..last (both included) of the untrimmed text; shorter or empty where
    // the text ends earlier.
    std::string_view columns(size_t first, size_t last) const;

    // A text field: the columns, trimmed.
    std::string textField(size_t first, size_t last) const;

    // A hexadecimal field: the columns converted by hexValue.
    uint32_t hexField(size_t first, size_t last) const;
    uint8_t hexField8(size_t first, size_t last) const {
        return static_cast<uint8_t>(hexField(first, last) & 0xFFu);
    }

private:
    std::array<char, kLineBufferSize> buffer_{};
    size_t length_ = 0;
};

// Removes trailing space, tab, CR, LF, VT and FF.
std::string trimRight(std::string_view text);

// Unsigned base-16 conversion of a text: leading white space skipped, optional sign (minus
// negates modulo 2^32), optional "0x", stops at the first non-hex character; nothing
// numeric gives 0, a value beyond 32 bits gives 0xFFFFFFFF.
uint32_t hexValue(std::string_view text);

// The same conversion in base 10 or 16 ("0x" accepted in base 16 only).
uint32_t unsignedValue(std::string_view text, unsigned base);

}  // namespace tarnwick
