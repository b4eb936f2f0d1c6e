// JPEG images: measured, placed on pages, and embedded unchanged as image objects.
#include <algorithm>

#include "pdf/jpeg_reader.h"
#include "pdf/kdr_pdf.h"
#include "pdf/pdf_messages.h"
#include "pdf/pdf_text.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
// A picture for a report; a larger file, a pipe or a device reads as no JPEG.
constexpr ReadLimit kImageReadLimit{32u << 20};

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void refuse(const std::string& text) {
    pdf::showSetterMessage(text, "File Image - ");
}
}  // namespace

bool kdrPDF::acceptsImageName(const std::string& name) {
    if (name.find('.') == std::string::npos) {
        pdf::showSetterMessage(
            "File " + name + " does not have an extension" + pdf::kCrLf + "Invalid filename specified.",
            "Image File - ");
        return false;
    }
    if (endsWith(name, "jpg") || endsWith(name, "jpeg")) return true;
    pdf::showSetterMessage(std::string("Image format not supported.") + pdf::kCrLf +
                               "Only JPEG images are supported." + pdf::kCrLf +
                               "Impossible to include image in PDF file.",
                           "Image File - ");
    return false;
}

const kdrPDF::PdfImageInfo* kdrPDF::ParseJpegFile(const std::string& fileName) {
    m_images.resize(static_cast<size_t>(m_imageCount) + 1);
    PdfImageInfo& entry = m_images.back();
    entry = PdfImageInfo{};
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::string data = readFileBytes(path, kImageReadLimit).value_or(std::string());
    auto reading = pdf::readJpeg(std::span(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
    switch (reading.refusal) {
        case pdf::JpegRefusal::None:
            break;
        case pdf::JpegRefusal::NotJpeg:
            refuse(std::string("File Image is non JPEG") + pdf::kCrLf + "Cannot add image to PDF file.");
            return nullptr;
        case pdf::JpegRefusal::Marker:
            refuse(std::string("Invalid JPEG marker") + pdf::kCrLf + "Cannot add iamge to PDF file.");
            return nullptr;
        case pdf::JpegRefusal::Resolution:
            refuse("Invalid image resolution" + std::to_string(reading.resolutionByte) +
                   "Valid resolution is: 0, 1, 2." + pdf::kCrLf + "Cannot add image to PDF file.");
            return nullptr;
    }
    entry.width = reading.facts.width;
    entry.height = reading.facts.height;
    entry.colorSpace = reading.facts.colorSpace;
    entry.bitsPerComponent = 8;
    entry.filter = "DCTDecode";
    entry.densityUnits = reading.facts.densityUnits;
    entry.invertedCmyk = reading.facts.colorSpace == "DeviceCMYK" && reading.facts.adobeMarker;
    entry.fileSize = static_cast<int64_t>(data.size());
    entry.data = std::move(data);
    return &entry;
}

double kdrPDF::PDFImageWidth(const std::string& pFileName) {
    if (!acceptsImageName(pFileName)) return 0;
    const PdfImageInfo* info = ParseJpegFile(pFileName);
    return info ? info->width : 0;
}

double kdrPDF::PDFImageHeight(const std::string& pFileName) {
    if (!acceptsImageName(pFileName)) return 0;
    const PdfImageInfo* info = ParseJpegFile(pFileName);
    return info ? info->height : 0;
}

void kdrPDF::PDFImage(const std::string& pFileName, double X, double Y, double& w, double& h,
                      const std::string& URLLink) {
    requireFinite({X, Y, w, h});
    if (!acceptsImageName(pFileName)) return;
    const PdfImageInfo* info = ParseJpegFile(pFileName);
    if (!info) return;
    const double pixelsWide = info->width, pixelsHigh = info->height;
    if (w == 0 && h == 0) {
        w = pixelsWide / m_k;
        h = pixelsHigh / m_k;
    }
    if (w == 0) {
        if (pixelsHigh == 0) raise(kDivisionByZero);
        w = pixelsWide * h / pixelsHigh;
    }
    if (h == 0) {
        if (pixelsWide == 0) raise(kDivisionByZero);
        h = pixelsHigh * w / pixelsWide;
    }
    requireFinite({w, h});
    int32_t i = ++m_imageCount;
    appendContent("q");
    std::string line;
    pdf::appendFixed(line, w * m_k, 2);
    line += " 0 0 ";
    pdf::appendFixed(line, h * m_k, 2);
    line += ' ';
    line += point(X, Y + h);
    line += " cm /ImgJPEG" + std::to_string(i) + " Do Q";
    appendContent(line);
    m_imageLinkWidth = w;
    m_imageLinkHeight = h;
    RegisterUrlLink(URLLink, "IMAGE", X, Y);
    m_x = X + w;
    m_y = Y + h;
}

void kdrPDF::WriteImageObject(int32_t i) {
    const PdfImageInfo& image = m_images[static_cast<size_t>(i) - 1];
    ++m_objectCounter;
    std::string block;
    appendLine(block, std::to_string(m_objectCounter) + " 0 obj");
    appendLine(block, "<</Type /XObject");
    appendLine(block, "/Subtype /Image");
    appendLine(block, "/Filter [/DCTDecode ]");
    appendLine(block, "/Width " + std::to_string(image.width));
    appendLine(block, "/Height " + std::to_string(image.height));
    appendLine(block, "/ColorSpace /" + image.colorSpace);
    appendLine(block, "/BitsPerComponent " + std::to_string(image.bitsPerComponent));
    if (image.invertedCmyk) appendLine(block, "/Decode [1 0 1 0 1 0 1 0]");
    appendLine(block, "/Length " + std::to_string(image.data.size()));
    appendLine(block, "/Name /ImgJPEG" + std::to_string(i) + ">>");
    appendLine(block, "stream");
    appendLine(block, image.data);
    appendLine(block, "endstream");
    appendLine(block, "endobj");
    recordAndWrite(block);
}

}  // namespace sq
