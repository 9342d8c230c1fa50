#pragma once
// The timed capture format (.trace): "# corvane-trace 1", comment lines
// starting with "#", and "<ms> TAB <payload>" lines whose payload escapes
// \r \n \t \\ and \xHH for bytes outside printable ASCII. A file without the
// first line is raw bytes arriving one every 87 microseconds from t = 0.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace sim {

constexpr const char* CaptureHeader = "# corvane-trace 1";

std::string escapePayload(const std::string& bytes);
// Undoes escapePayload; a malformed escape is taken literally.
std::string unescapePayload(const std::string& text);

struct CaptureChunk {
    std::int64_t ms = 0;
    std::string bytes;
};

// Reads a capture (timed or raw). Times that go backwards are raised to the
// previous one; lines that are not "<ms> TAB <payload>" are skipped.
std::vector<CaptureChunk> readCapture(std::istream& in);

class CaptureWriter {
public:
    explicit CaptureWriter(std::ostream& out, const std::string& comment = {});
    void write(std::int64_t ms, const std::string& bytes);

private:
    std::ostream& out_;
    std::int64_t last_ = 0;
};

} // namespace sim
