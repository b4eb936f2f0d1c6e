#pragma once
// The loosely typed argument that some kdrPDF setters take: the page format (a 32-bit or a 16-bit
// integer, an array of doubles, or a text) and the colours (an array, a number or a text).
#include <cstdint>
#include <string>
#include <vector>

namespace sq {

class PdfValue {
public:
    enum class Kind { Long, Integer, Double, Text, Array };

    PdfValue(int32_t v) : m_kind(Kind::Long), m_number(v) {}
    PdfValue(int16_t v) : m_kind(Kind::Integer), m_number(v) {}
    PdfValue(double v) : m_kind(Kind::Double), m_number(v) {}
    PdfValue(std::string v) : m_kind(Kind::Text), m_text(std::move(v)) {}
    PdfValue(const char* v) : m_kind(Kind::Text), m_text(v) {}
    PdfValue(std::vector<PdfValue> items) : m_kind(Kind::Array), m_items(std::move(items)) {}

    static PdfValue doubles(const std::vector<double>& values);

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] bool isText() const { return m_kind == Kind::Text; }
    [[nodiscard]] bool isArray() const { return m_kind == Kind::Array; }
    // True for an array whose items are all doubles.
    [[nodiscard]] bool isDoubleArray() const;
    [[nodiscard]] double number() const { return m_number; }
    [[nodiscard]] const std::string& text() const { return m_text; }
    [[nodiscard]] const std::vector<PdfValue>& items() const { return m_items; }

    // The value as a number: numbers as they are, texts that read as a number; raises error 13
    // for other texts and for arrays.
    [[nodiscard]] double toDouble() const;
    // The value as the classic conversion to text gives it; raises error 13 for an array.
    [[nodiscard]] std::string toText() const;

private:
    Kind m_kind;
    double m_number = 0;
    std::string m_text;
    std::vector<PdfValue> m_items;
};

}  // namespace sq
