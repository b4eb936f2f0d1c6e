#include "pdf/jpeg_reader.h"

#include <optional>

namespace sq::pdf {

namespace {
constexpr int64_t kMinimumSize = 250;

// The file's bytes at 1-based positions; nothing outside the file is ever read.
class Bytes {
public:
    explicit Bytes(std::span<const uint8_t> data) : m_data(data) {}
    [[nodiscard]] int64_t size() const { return static_cast<int64_t>(m_data.size()); }
    [[nodiscard]] std::optional<int> byte(int64_t position) const {
        if (position < 1 || position > size()) return std::nullopt;
        return m_data[static_cast<size_t>(position - 1)];
    }
    // Big-endian 16-bit word of the bytes at position and position + 1.
    [[nodiscard]] std::optional<int> word(int64_t position) const {
        auto high = byte(position), low = byte(position + 1);
        if (!high || !low) return std::nullopt;
        return *high * 256 + *low;
    }

private:
    std::span<const uint8_t> m_data;
};

bool isFrameHeader(int marker) {
    switch (marker) {
        case 0xFFC0:
        case 0xFFC1:
        case 0xFFC2:
        case 0xFFC3:
        case 0xFFC5:
        case 0xFFC6:
        case 0xFFC7:
            return true;
        default:
            return false;
    }
}

JpegReading refused(JpegRefusal why, int byte = 0) {
    JpegReading reading;
    reading.refusal = why;
    reading.resolutionByte = byte;
    return reading;
}
}  // namespace

JpegReading readJpeg(std::span<const uint8_t> file) {
    Bytes bytes(file);
    const int64_t size = bytes.size();
    if (size < kMinimumSize) return refused(JpegRefusal::NotJpeg);
    if (bytes.word(1) != 0xFFD8 || bytes.word(size - 1) != 0xFFD9) return refused(JpegRefusal::Marker);

    JpegReading reading;
    bool frameFound = false;
    bool scanReached = false;
    // The walk goes on through the compressed data after the start of scan, jumping by whatever
    // lengths it lands on; it ends when a jump or a length field lies past the end of the data.
    for (int64_t p = 3; p < size - 1;) {
        int marker = *bytes.word(p);
        auto length = bytes.word(p + 2);
        if (marker == 0xFFFF) {
            while (bytes.byte(p + 1) == 0xFF) ++p;
            length = bytes.word(p + 2);
        }
        if (!length) break;
        if (marker == 0xFFE0) {
            auto units = bytes.byte(p + 11);
            if (!units) return refused(JpegRefusal::Marker);
            static const char* const kUnits[] = {"Dots", "Dots/inch (DPI)", "Dots/cm"};
            if (*units > 2) return refused(JpegRefusal::Resolution, *units);
            reading.facts.densityUnits = kUnits[*units];
        } else if (marker == 0xFFEE && !scanReached) {
            static constexpr uint8_t kAdobe[] = {'A', 'd', 'o', 'b', 'e'};
            bool adobe = true;
            for (int k = 0; k < 5; ++k) adobe = adobe && bytes.byte(p + 4 + k) == kAdobe[k];
            if (adobe) reading.facts.adobeMarker = true;
        } else if (marker == 0xFFDA) {
            scanReached = true;
        } else if (isFrameHeader(marker)) {
            auto height = bytes.word(p + 5), width = bytes.word(p + 7);
            auto components = bytes.byte(p + 9);
            if (!height || !width || !components) return refused(JpegRefusal::Marker);
            static const char* const kSpaces[] = {"", "DeviceGray", "", "DeviceRGB", "DeviceCMYK"};
            if (*components != 1 && *components != 3 && *components != 4) return refused(JpegRefusal::Marker);
            reading.facts.width = *width;
            reading.facts.height = *height;
            reading.facts.colorSpace = kSpaces[*components];
            frameFound = true;
        }
        p += *length + 2;
    }
    if (!frameFound) return refused(JpegRefusal::Marker);
    return reading;
}

}  // namespace sq::pdf
