#include "sim/timed_capture.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <iterator>
#include <ostream>

namespace sim {

std::string escapePayload(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() + 8);
    for (unsigned char c : bytes) {
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default:
            if (c >= 0x20 && c < 0x7F) {
                out += static_cast<char>(c);
            } else {
                char buf[5];
                std::snprintf(buf, sizeof buf, "\\x%02X", c);
                out += buf;
            }
        }
    }
    return out;
}

namespace {
int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

std::string unescapePayload(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const char n = text[i + 1];
        if (n == 'r') {
            out += '\r';
            ++i;
        } else if (n == 'n') {
            out += '\n';
            ++i;
        } else if (n == 't') {
            out += '\t';
            ++i;
        } else if (n == '\\') {
            out += '\\';
            ++i;
        } else if (n == 'x' && i + 3 < text.size() && hexValue(text[i + 2]) >= 0 && hexValue(text[i + 3]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3]));
            i += 3;
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<CaptureChunk> readCapture(std::istream& in)
{
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<CaptureChunk> chunks;
    const std::string header = CaptureHeader;
    // The first line (without a CR before its LF) is exactly the header.
    std::string first = all.substr(0, all.find('\n'));
    if (!first.empty() && first.back() == '\r')
        first.pop_back();
    const bool timed = first == header;
    if (!timed) {
        // 115200 bit/s, 8N1: one byte every 87 microseconds.
        for (std::size_t i = 0; i < all.size(); ++i) {
            const auto ms = static_cast<std::int64_t>(i) * 87 / 1000;
            if (chunks.empty() || chunks.back().ms != ms)
                chunks.push_back({ms, {}});
            chunks.back().bytes += all[i];
        }
        return chunks;
    }
    std::int64_t last = 0;
    std::size_t pos = 0;
    while (pos < all.size()) {
        auto end = all.find('\n', pos);
        if (end == std::string::npos)
            end = all.size();
        std::string line = all.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const auto tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab > 15
            || !std::all_of(
                line.begin(), line.begin() + static_cast<long>(tab), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        last = std::max<std::int64_t>(last, std::stoll(line.substr(0, tab)));
        chunks.push_back({last, unescapePayload(line.substr(tab + 1))});
    }
    return chunks;
}

CaptureWriter::CaptureWriter(std::ostream& out, const std::string& comment) : out_(out)
{
    out_ << CaptureHeader << '\n';
    if (!comment.empty())
        out_ << "# " << comment << '\n';
    out_.flush();
}

void CaptureWriter::write(std::int64_t ms, const std::string& bytes)
{
    last_ = std::max(last_, ms);
    out_ << last_ << '\t' << escapePayload(bytes) << '\n';
    out_.flush();
}

} // namespace sim
