#include "pdf/pdf_value.h"

#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace sq {

PdfValue PdfValue::doubles(const std::vector<double>& values) {
    std::vector<PdfValue> items;
    items.reserve(values.size());
    for (double v : values) items.emplace_back(v);
    return PdfValue(std::move(items));
}

bool PdfValue::isDoubleArray() const {
    if (m_kind != Kind::Array) return false;
    for (const auto& item : m_items)
        if (item.kind() != Kind::Double) return false;
    return true;
}

double PdfValue::toDouble() const {
    switch (m_kind) {
        case Kind::Text:
            return toNumber(m_text);
        case Kind::Array:
            raise(kTypeMismatch);
        default:
            return m_number;
    }
}

std::string PdfValue::toText() const {
    switch (m_kind) {
        case Kind::Text:
            return m_text;
        case Kind::Array:
            raise(kTypeMismatch);
        default:
            return formatNumber(m_number);
    }
}

}  // namespace sq
