// JPEG images: the reader's walk and refusals, placing, and embedding unchanged.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageWriter>
#include <array>
#include <regex>

#include "pdf/jpeg_reader.h"
#include "pdf/kdr_pdf.h"
#include "pdf_test_support.h"
#include "platform/dialogs.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

using namespace pdftest;
using sq::pdf::JpegRefusal;

namespace {
enum class Kind { Rgb, Gray, Progressive };

std::string writeJpeg(const std::string& path, int width, int height, Kind kind) {
    QImage image(width, height, kind == Kind::Gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int x = 0; x < width / 2; ++x)
        for (int y = 0; y < height; ++y) image.setPixel(x, y, kind == Kind::Gray ? 0xFF808080 : 0xFFFF0000);
    QImageWriter writer(QString::fromStdString(path), "jpeg");
    writer.setProgressiveScanWrite(kind == Kind::Progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path;
}

using Bytes = std::vector<uint8_t>;

Bytes segment(uint16_t marker, const Bytes& body) {
    Bytes out{uint8_t(marker >> 8), uint8_t(marker), uint8_t((body.size() + 2) >> 8),
              uint8_t(body.size() + 2)};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}
Bytes app0(uint8_t units) {
    return segment(0xFFE0, {'J', 'F', 'I', 'F', 0, 1, 1, units, 0, 1, 0, 1, 0, 0});
}
Bytes sof(uint16_t marker, int width, int height, uint8_t components) {
    Bytes body{8, uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width), components};
    for (int c = 0; c < components; ++c) body.insert(body.end(), {uint8_t(c + 1), 0x11, 0});
    return segment(marker, body);
}
Bytes comment(size_t length) {
    return segment(0xFFFE, Bytes(length, 'x'));
}

// A decodable 8 x 8 four-component (CMYK) baseline JPEG: every block holds only a zero DC difference
// and an end of block, each coded by the one 1-bit code of its table.
Bytes cmykJpeg() {
    Bytes quantisation{0x00};
    quantisation.insert(quantisation.end(), 64, 1);
    Bytes dc{0x00, 1}, ac{0x10, 1};
    dc.insert(dc.end(), 15, 0);
    ac.insert(ac.end(), 15, 0);
    dc.push_back(0x00);
    ac.push_back(0x00);
    Bytes scan{4, 1, 0x00, 2, 0x00, 3, 0x00, 4, 0x00, 0, 63, 0};
    Bytes out{0xFF, 0xD8};
    for (const Bytes& part : {comment(200), segment(0xFFDB, quantisation), sof(0xFFC0, 8, 8, 4),
                              segment(0xFFC4, dc), segment(0xFFC4, ac), segment(0xFFDA, scan)})
        out.insert(out.end(), part.begin(), part.end());
    out.insert(out.end(), {0x00, 0xFF, 0xD9});
    return out;
}

// Start marker, the parts, end marker.
Bytes jpegOf(const std::vector<Bytes>& parts) {
    Bytes out{0xFF, 0xD8};
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

// Parsed from a heap buffer of exactly the data's length, so an overread shows under AddressSanitizer.
sq::pdf::JpegReading read(const Bytes& data) {
    auto buffer = std::make_unique<uint8_t[]>(data.size());
    std::copy(data.begin(), data.end(), buffer.get());
    return sq::pdf::readJpeg(std::span<const uint8_t>(buffer.get(), data.size()));
}

std::string save(const std::string& name, const Bytes& data) {
    std::string path = sqtest::makeTempDir("jpeg") + "/" + name;
    writeFile(path, std::string(data.begin(), data.end()));
    return path;
}
}  // namespace

TEST(PdfJpegReader, readsFramesOfEveryKind) {
    struct Case {
        Bytes data;
        int width, height;
        std::string space, units;
    };
    const std::vector<Case> cases = {
        {jpegOf({app0(1), comment(240), sof(0xFFC0, 640, 480, 3)}), 640, 480, "DeviceRGB", "Dots/inch (DPI)"},
        {jpegOf({comment(240), sof(0xFFC2, 17, 9, 1)}), 17, 9, "DeviceGray", ""},
        {jpegOf({app0(2), comment(240), sof(0xFFC1, 300, 200, 4)}), 300, 200, "DeviceCMYK", "Dots/cm"},
        // Fill bytes before a segment: the segment after them is skipped unexamined.
        {jpegOf({comment(240), {0xFF, 0xFF, 0xFF}, sof(0xFFC0, 5, 5, 3), sof(0xFFC0, 7, 8, 1)}), 7, 8,
         "DeviceGray", ""},
        // A later frame header wins.
        {jpegOf({comment(240), sof(0xFFC0, 1, 2, 3), sof(0xFFC3, 3, 4, 1)}), 3, 4, "DeviceGray", ""},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        auto r = read(cases[i].data);
        ASSERT_EQ(r.refusal, JpegRefusal::None);
        EXPECT_EQ(r.facts.width, cases[i].width);
        EXPECT_EQ(r.facts.height, cases[i].height);
        EXPECT_EQ(r.facts.colorSpace, cases[i].space);
        EXPECT_EQ(r.facts.densityUnits, cases[i].units);
    }
}

TEST(PdfJpegReader, refusesBrokenFiles) {
    struct Case {
        std::string name;
        Bytes data;
        JpegRefusal refusal;
    };
    Bytes valid = jpegOf({app0(0), comment(240), sof(0xFFC0, 640, 480, 3)});
    Bytes trailing = valid;
    trailing.push_back(0);
    Bytes small(valid.begin(), valid.begin() + 247);
    small.insert(small.end(), {0xFF, 0xD9});
    std::vector<Case> cases = {
        {"249 bytes", small, JpegRefusal::NotJpeg},
        {"trailing byte", trailing, JpegRefusal::Marker},
        {"no start marker", Bytes(valid.begin() + 2, valid.end()), JpegRefusal::Marker},
        {"density byte 3", jpegOf({app0(3), comment(240), sof(0xFFC0, 640, 480, 3)}),
         JpegRefusal::Resolution},
        {"no frame header", jpegOf({app0(0), comment(260)}), JpegRefusal::Marker},
        {"two components", jpegOf({comment(240), sof(0xFFC0, 640, 480, 2)}), JpegRefusal::Marker},
        {"fill bytes to the end", jpegOf({comment(240), Bytes(20, 0xFF)}), JpegRefusal::Marker},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(read(c.data).refusal, c.refusal);
    }
    // Headers cut short before the end marker: nothing past the data is read; a frame header whose
    // fields all lie inside the data still counts, with its own values.
    for (const Bytes& cut : {app0(0), sof(0xFFC0, 640, 480, 3)}) {
        for (size_t keep = 1; keep <= 10; ++keep) {
            SCOPED_TRACE("cut after " + std::to_string(keep));
            auto r = read(jpegOf({comment(250), Bytes(cut.begin(), cut.begin() + keep)}));
            if (r.refusal == JpegRefusal::None) {
                EXPECT_EQ(r.facts.width, 640);
                EXPECT_EQ(r.facts.height, 480);
            }
            if (cut[1] == 0xE0 || keep < 10) {
                EXPECT_NE(r.refusal, JpegRefusal::None);
            }
        }
    }
    EXPECT_EQ(read(jpegOf({app0(7), comment(240), sof(0xFFC0, 1, 1, 3)})).resolutionByte, 7);
}

TEST(PdfJpegReader, everyPrefixOfARealFileIsRefusedOrReadRight) {
    std::string path = writeJpeg(sqtest::makeTempDir("prefix") + "/real.jpg", 64, 48, Kind::Rgb);
    std::string file = readFile(path);
    Bytes data(file.begin(), file.end());
    for (size_t length = 0; length <= data.size(); ++length) {
        Bytes prefix(data.begin(), data.begin() + length);
        prefix.insert(prefix.end(), {0xFF, 0xD9});
        auto r = read(prefix);
        if (r.refusal == JpegRefusal::None) {
            EXPECT_EQ(r.facts.width, 64) << length;
            EXPECT_EQ(r.facts.height, 48) << length;
        }
    }
    EXPECT_EQ(read(data).refusal, JpegRefusal::None);
}

TEST(PdfImages, namesAndFilesThatAreRefused) {
    struct Case {
        std::string path;
        std::string text, title;
    };
    std::string folder = sqtest::makeTempDir("names");
    writeFile(folder + "/small.jpg", std::string(249, 'x'));
    std::string real = writeJpeg(folder + "/real.jpg", 64, 48, Kind::Rgb);
    writeFile(folder + "/upper.JPG", readFile(real));
    writeFile(folder + "/trailing.jpg", readFile(real) + "x");
    const std::string notJpeg = "File Image is non JPEG\r\nCannot add image to PDF file.";
    const std::vector<Case> cases = {
        {folder + "/noextension",
         "File " + folder + "/noextension does not have an extension\r\nInvalid filename specified.",
         "Image File - kdrPDF 1.0"},
        {folder + "/upper.JPG",
         "Image format not supported.\r\nOnly JPEG images are supported.\r\nImpossible to include image in "
         "PDF file.",
         "Image File - kdrPDF 1.0"},
        {folder + "/small.jpg", notJpeg, "File Image - kdrPDF 1.0"},
        {folder + "/missing.jpg", notJpeg, "File Image - kdrPDF 1.0"},
        {folder + "/trailing.jpg", "Invalid JPEG marker\r\nCannot add iamge to PDF file.",
         "File Image - kdrPDF 1.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        sq::ScopedScriptedDialogs dialogs;
        PointsPage page;
        double w = 0, h = 0;
        page.pdf.PDFImage(c.path, 10, 10, w, h, "");
        EXPECT_EQ(page.pdf.PDFImageWidth(c.path), 0);
        auto messages = dialogs->messages();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].text, c.text);
        EXPECT_EQ(messages[0].title, c.title);
        EXPECT_EQ(messages[0].icon, sq::MsgIcon::Critical);
        EXPECT_EQ(page.content(), "");
        EXPECT_EQ(w, 0);
        page.pdf.PDFEndDoc();
        EXPECT_EQ(page.doc.bytes().find("/ImgJPEG1"), std::string::npos);
        expectValidPdf(page.doc.path, 1);
    }
    {
        sq::ScopedScriptedDialogs dialogs;
        Bytes data = jpegOf({app0(3), comment(240), sof(0xFFC0, 640, 480, 3)});
        sq::kdrPDF pdf;
        EXPECT_EQ(pdf.PDFImageHeight(save("density.jpg", data)), 0);
        ASSERT_EQ(dialogs->messages().size(), 1u);
        EXPECT_EQ(dialogs->messages()[0].text,
                  "Invalid image resolution3Valid resolution is: 0, 1, 2.\r\nCannot add image to PDF file.");
    }
}

TEST(PdfImages, sizesFromPixelsAndUnits) {
    std::string folder = sqtest::makeTempDir("sizes");
    std::string photo = writeJpeg(folder + "/photo.jpeg", 640, 480, Kind::Rgb);
    sq::kdrPDF measure;
    EXPECT_EQ(measure.PDFImageWidth(photo), 640);
    EXPECT_EQ(measure.PDFImageHeight(photo), 480);

    PointsPage page;
    double w = 0, h = 0;
    page.pdf.PDFImage(photo, 2, 3, w, h, "");
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(page.pdf.currentX(), 642);
    EXPECT_EQ(page.pdf.currentY(), 483);
    double w2 = 320, h2 = 0;
    page.pdf.PDFImage(photo, 2, 3, w2, h2, "");
    EXPECT_EQ(h2, 240);
    double w3 = 4, h3 = 5;
    page.pdf.PDFImage(photo, 2, 3, w3, h3, "");
    EXPECT_EQ(page.pdf.currentX(), 6);
    EXPECT_EQ(page.pdf.currentY(), 8);
    EXPECT_EQ(page.content(), crlf({"q", "640.00 0 0 480.00 2.00 358.89 cm /ImgJPEG1 Do Q", "q",
                                    "320.00 0 0 240.00 2.00 598.89 cm /ImgJPEG2 Do Q", "q",
                                    "4.00 0 0 5.00 2.00 833.89 cm /ImgJPEG3 Do Q"}));

    sq::kdrPDF mm;
    mm.PDFSetUnit(1);
    double w4 = 0, h4 = 0;
    mm.PDFImage(photo, 0, 0, w4, h4, "");
    EXPECT_NEAR(w4, 225.78, 0.005);
    EXPECT_NEAR(h4, 169.33, 0.005);
}

TEST(PdfImages, embeddedUnchangedListedAndVisible) {
    std::string folder = sqtest::makeTempDir("embed");
    std::string rgb = writeJpeg(folder + "/rgb.jpg", 120, 80, Kind::Rgb);
    std::string gray = writeJpeg(folder + "/gray.jpg", 60, 40, Kind::Gray);
    std::string progressive = writeJpeg(folder + "/prog.jpg", 90, 30, Kind::Progressive);
    Bytes cmykData = cmykJpeg();
    std::string cmyk = save("cmyk.jpg", cmykData);

    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFSetUnit(0);
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFSetFont(0, 10, 0);
    double w = 0, h = 0;
    doc.pdf.PDFImage(rgb, 50, 50, w, h, "");
    double w2 = 0, h2 = 0;
    doc.pdf.PDFImage(gray, 200, 50, w2, h2, "");
    doc.pdf.PDFEndPage();
    doc.pdf.PDFNewPage();
    double w3 = 0, h3 = 0;
    doc.pdf.PDFImage(progressive, 50, 50, w3, h3, "http://example.com/image");
    double w4 = 0, h4 = 0;
    doc.pdf.PDFImage(rgb, 50, 200, w4, h4, "");
    double w5 = 0, h5 = 0;
    doc.pdf.PDFImage(cmyk, 300, 300, w5, h5, "");
    doc.pdf.PDFEndDoc();
    std::string bytes = doc.bytes();

    // 2 pages, 1 font, 5 images: Pages 7, Resources 8, images 9-13, Page objects 14 and 15, catalog 16.
    EXPECT_NE(bytes.find("/Kids [\r\n14 0 R\r\n15 0 R\r\n]"), std::string::npos);
    EXPECT_NE(bytes.find(
                  "/XObject << \r\n/ImgJPEG1 9 0 R\r\n/ImgJPEG2 10 0 R\r\n/ImgJPEG3 11 0 R\r\n/ImgJPEG4 12 0 "
                  "R\r\n/ImgJPEG5 13 0 R\r\n>>"),
              std::string::npos);
    EXPECT_NE(bytes.find("/OpenAction [14 0 R /Fit]"), std::string::npos);
    EXPECT_NE(bytes.find("/Annots [<</Type /Annot /Subtype /Link /Rect [50 791.89 140 761.89]"),
              std::string::npos);
    const std::vector<std::pair<std::string, std::string>> embedded = {
        {rgb,
         "9 0 obj\r\n<</Type /XObject\r\n/Subtype /Image\r\n/Filter [/DCTDecode ]\r\n/Width 120\r\n/Height "
         "80\r\n/ColorSpace /DeviceRGB\r\n/BitsPerComponent 8\r\n/Length "},
        {gray,
         "10 0 obj\r\n<</Type /XObject\r\n/Subtype /Image\r\n/Filter [/DCTDecode ]\r\n/Width 60\r\n/Height "
         "40\r\n/ColorSpace /DeviceGray\r\n/BitsPerComponent 8\r\n/Length "},
        {rgb,
         "12 0 obj\r\n<</Type /XObject\r\n/Subtype /Image\r\n/Filter [/DCTDecode ]\r\n/Width 120\r\n/Height "
         "80\r\n/ColorSpace /DeviceRGB\r\n/BitsPerComponent 8\r\n/Length "},
    };
    for (const auto& [file, head] : embedded) {
        std::string data = readFile(file);
        size_t at = bytes.find(head);
        ASSERT_NE(at, std::string::npos) << head;
        int number = std::stoi(head);
        std::string rest = std::to_string(data.size()) + "\r\n/Name /ImgJPEG" + std::to_string(number - 8) +
                           ">>\r\nstream\r\n" + data + "\r\nendstream\r\nendobj\r\n";
        EXPECT_EQ(bytes.compare(at + head.size(), rest.size(), rest), 0) << head;
    }
    expectValidPdf(doc.path, 2);

    auto list = runTool("pdfimages -list '" + doc.path + "'");
    EXPECT_EQ(list.status, 0) << list.output;
    const std::vector<std::string> rows = {"1\\s+0 image\\s+120\\s+80\\s+rgb\\s+3\\s+8\\s+jpeg",
                                           "1\\s+1 image\\s+60\\s+40\\s+gray\\s+1\\s+8\\s+jpeg",
                                           "2\\s+2 image\\s+90\\s+30\\s+rgb\\s+3\\s+8\\s+jpeg",
                                           "2\\s+3 image\\s+120\\s+80\\s+rgb\\s+3\\s+8\\s+jpeg",
                                           "2\\s+4 image\\s+8\\s+8\\s+cmyk\\s+4\\s+8\\s+jpeg"};
    for (const auto& row : rows)
        EXPECT_TRUE(std::regex_search(list.output, std::regex(row))) << row << list.output;

    std::string stem = sqtest::makeTempDir("render") + "/page";
    ASSERT_EQ(runTool("pdftoppm -r 72 -gray -f 1 -l 1 '" + doc.path + "' '" + stem + "'").status, 0);
    std::string pgm = readFile(stem + "-1.pgm");
    size_t pixels = pgm.find("255\n") + 4;
    // Row 70 (inside the first image, 50 to 130 down) at column 110 (its black right half).
    size_t width = 595 + 1;
    std::string header = pgm.substr(0, pixels);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(header, m, std::regex("P5\\s+(\\d+)\\s+(\\d+)")));
    width = std::stoul(m[1]);
    EXPECT_LT(static_cast<unsigned char>(pgm[pixels + 70 * width + 140]), 60);
    EXPECT_GT(static_cast<unsigned char>(pgm[pixels + 70 * width + 20]), 200);  // white page left of it
}

namespace {
// An 8 x 8 CMYK baseline JPEG of one colour, each component a constant block: DC difference +4 or
// -4 times a quantiser of 254 gives samples of 255 or 1. The one Huffman code of each table is "0"
// (DC category 3, AC end of block), so every block reads 0 then the three bits of the difference,
// then 0. With the Adobe marker (transform 0) the samples are stored inverted, 255 for no ink.
Bytes flatCmykJpeg(bool adobeMarker, const std::array<bool, 4>& fullSample) {
    Bytes quantisation{0x00};
    quantisation.insert(quantisation.end(), 64, 254);
    Bytes dc{0x00, 1}, ac{0x10, 1};
    dc.insert(dc.end(), 15, 0);
    ac.insert(ac.end(), 15, 0);
    dc.push_back(0x03);
    ac.push_back(0x00);
    Bytes scan{4, 1, 0x00, 2, 0x00, 3, 0x00, 4, 0x00, 0, 63, 0};
    uint32_t bits = 0;
    for (bool full : fullSample) bits = bits << 5 | (full ? 0b01000 : 0b00110);  // +4: "100", -4: "011"
    bits = bits << 4 | 0xF;                                                      // pad to 24 bits with ones
    Bytes out{0xFF, 0xD8};
    std::vector<Bytes> parts{comment(200)};
    if (adobeMarker) parts.push_back(segment(0xFFEE, {'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 0}));
    for (const Bytes& part : {segment(0xFFDB, quantisation), sof(0xFFC0, 8, 8, 4), segment(0xFFC4, dc),
                              segment(0xFFC4, ac), segment(0xFFDA, scan)})
        parts.push_back(part);
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    out.insert(out.end(), {uint8_t(bits >> 16), uint8_t(bits >> 8), uint8_t(bits), 0xFF, 0xD9});
    return out;
}

struct Rgb {
    int r, g, b;
};
// The colour at (x, y) of page 1 rendered at 72 dpi.
Rgb renderedColour(const std::string& pdf, int x, int y) {
    std::string stem = sqtest::makeTempDir("render") + "/page";
    EXPECT_EQ(runTool("pdftoppm -r 72 -f 1 -l 1 '" + pdf + "' '" + stem + "'").status, 0);
    std::string ppm = readFile(stem + "-1.ppm");
    std::smatch m;
    std::string head = ppm.substr(0, 32);
    if (!std::regex_search(head, m, std::regex("P6\\s+(\\d+)\\s+(\\d+)\\s+255\\s"))) return {-1, -1, -1};
    size_t at = m.length(0) + (static_cast<size_t>(y) * std::stoul(m[1]) + static_cast<size_t>(x)) * 3;
    auto byte = [&](size_t i) { return static_cast<int>(static_cast<unsigned char>(ppm[at + i])); };
    return {byte(0), byte(1), byte(2)};
}
}  // namespace

TEST(PdfImages, adobeCmykIsDecodedInvertedAndRendersAsAPositive) {
    // Cyan: full cyan ink, none of the others. Adobe's files store it as 1, 255, 255, 255.
    const std::string adobe = save("adobe.jpg", flatCmykJpeg(true, {false, true, true, true}));
    const std::string plain = save("plain.jpg", flatCmykJpeg(false, {true, false, false, false}));
    auto reading = read(flatCmykJpeg(true, {false, true, true, true}));
    ASSERT_EQ(reading.refusal, JpegRefusal::None);
    EXPECT_TRUE(reading.facts.adobeMarker);
    EXPECT_FALSE(read(flatCmykJpeg(false, {true, true, true, true})).facts.adobeMarker);

    for (const auto& [file, decode] : {std::pair{adobe, true}, std::pair{plain, false}}) {
        SCOPED_TRACE(file);
        PointsPage page;
        double w = 80, h = 80;
        page.pdf.PDFImage(file, 100, 100, w, h, "");
        page.pdf.PDFEndDoc();
        std::string bytes = page.doc.bytes();
        EXPECT_EQ(
            bytes.find(
                "/ColorSpace /DeviceCMYK\r\n/BitsPerComponent 8\r\n/Decode [1 0 1 0 1 0 1 0]\r\n/Length ") !=
                std::string::npos,
            decode);
        expectValidPdf(page.doc.path, 1);
        Rgb c = renderedColour(page.doc.path, 140, 140);
        EXPECT_LT(c.r, 100) << c.r << " " << c.g << " " << c.b;
        EXPECT_GT(c.g, 120) << c.r << " " << c.g << " " << c.b;
        EXPECT_GT(c.b, 180) << c.r << " " << c.g << " " << c.b;
    }
}
