#include "package/line_reader.h"

#include <cstring>

namespace tarnwick {

namespace {

bool isTrimmed(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool HeaderLine::read(std::FILE* file) {
    size_t stored = 0;
    const size_t limit = kLineBufferSize - 1;
    while (stored < limit) {
        const int c = std::getc(file);
        if (c == EOF) break;
        buffer_[stored++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    buffer_[stored] = '\0';
    length_ = std::strlen(buffer_.data());
    return stored > 0;
}

void HeaderLine::assign(std::string_view bytes) {
    size_t stored = 0;
    const size_t limit = kLineBufferSize - 1;
    while (stored < limit && stored < bytes.size()) {
        buffer_[stored] = bytes[stored];
        if (bytes[stored++] == '\n') break;
    }
    buffer_[stored] = '\0';
    length_ = std::strlen(buffer_.data());
}

std::string HeaderLine::trimmed() const { return trimRight(text()); }

std::string_view HeaderLine::columns(size_t first, size_t last) const {
    if (first >= length_ || last < first) return {};
    const size_t end = (last + 1 < length_) ? last + 1 : length_;
    return std::string_view(buffer_.data() + first, end - first);
}

std::string HeaderLine::textField(size_t first, size_t last) const {
    return trimRight(columns(first, last));
}

uint32_t HeaderLine::hexField(size_t first, size_t last) const {
    return hexValue(columns(first, last));
}

std::string trimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && isTrimmed(text[end - 1])) --end;
    return std::string(text.substr(0, end));
}

uint32_t unsignedValue(std::string_view text, unsigned base) {
    const auto digitOf = [base](char c) {
        const int d = hexDigit(c);
        return d >= 0 && static_cast<unsigned>(d) < base ? d : -1;
    };
    size_t i = 0;
    while (i < text.size() && isTrimmed(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (base == 16 && i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        digitOf(text[i + 2]) >= 0) {
        i += 2;
    }
    uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const int digit = digitOf(text[i]);
        if (digit < 0) break;
        value = value * base + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull) {
            overflow = true;
            value = 0xFFFFFFFFull;
        }
    }
    if (overflow) return 0xFFFFFFFFu;
    const uint32_t result = static_cast<uint32_t>(value);
    return negative ? 0u - result : result;
}

uint32_t hexValue(std::string_view text) { return unsignedValue(text, 16); }

}  // namespace tarnwick
