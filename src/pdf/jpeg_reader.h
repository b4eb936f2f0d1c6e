#pragma once
// Reads what the PDF writer needs from a JPEG file (pixel size, colour space, density units) by
// walking its segments, without decoding any pixel. Every read is checked against the data's end.
#include <cstdint>
#include <span>
#include <string>

namespace sq::pdf {

struct JpegFacts {
    int32_t width = 0;
    int32_t height = 0;
    std::string colorSpace;    // "DeviceGray", "DeviceRGB" or "DeviceCMYK"
    std::string densityUnits;  // "Dots", "Dots/inch (DPI)", "Dots/cm" or empty
    // An Adobe APP14 segment before the scan: its four-component data are stored inverted.
    bool adobeMarker = false;
};

enum class JpegRefusal {
    None,
    NotJpeg,     // fewer than 250 bytes
    Marker,      // no start or end marker, a header cut short, no frame header, an odd component count
    Resolution,  // an APP0 density-units byte other than 0, 1 or 2
};

struct JpegReading {
    JpegRefusal refusal = JpegRefusal::None;
    int resolutionByte = 0;  // the offending byte of a Resolution refusal
    JpegFacts facts;
};

JpegReading readJpeg(std::span<const uint8_t> file);

}  // namespace sq::pdf
