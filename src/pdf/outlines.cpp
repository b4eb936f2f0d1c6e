// Bookmarks and the document outline built from them.
#include "pdf/kdr_pdf.h"
#include "pdf/pdf_text.h"
#include "platform/vb_error.h"

namespace sq {

void kdrPDF::PDFSetBookmark(const std::string& str_Text, int iLevel, double y) {
    requireFinite({y});
    // Levels that cannot form a tree are refused here; written, they would break the document's end.
    bool first = m_bookmarks.empty();
    if (iLevel < 0 || (first && iLevel > 0) || (!first && iLevel > m_bookmarks.back().level + 1))
        raise(kSubscriptOutOfRange);
    PdfBookmark mark;
    mark.text = str_Text;
    mark.level = iLevel;
    mark.y = y == -1 ? m_y : y;
    mark.page = m_pageNumber;
    m_bookmarks.push_back(mark);
}

void kdrPDF::linkOutlineTree() {
    const auto count = static_cast<int64_t>(m_bookmarks.size());
    std::vector<int64_t> lastAtLevel;
    int previousLevel = 0;
    for (int64_t i = 0; i < count; ++i) {
        PdfBookmark& mark = m_bookmarks[static_cast<size_t>(i)];
        const int level = mark.level;
        if (level > 0) {
            PdfBookmark& parent = m_bookmarks[static_cast<size_t>(lastAtLevel[level - 1])];
            mark.parent = lastAtLevel[level - 1];
            parent.last = i;
            if (level > previousLevel) parent.first = i;
        } else {
            mark.parent = count;
        }
        if (level <= previousLevel && i > 0) {
            int64_t q = lastAtLevel[level];
            m_bookmarks[static_cast<size_t>(q)].next = i;
            mark.prev = q;
        }
        lastAtLevel.resize(static_cast<size_t>(level) + 1, -1);
        lastAtLevel[level] = i;
        previousLevel = level;
    }
    m_lastTopBookmark = lastAtLevel.empty() ? 0 : lastAtLevel[0];
}

void kdrPDF::WriteOutlineObjects() {
    m_outlineRoot = 0;
    if (m_bookmarks.empty()) return;
    linkOutlineTree();
    const int64_t first = m_objectCounter + 1;
    auto ref = [first](int64_t index) { return std::to_string(first + index) + " 0 R"; };
    for (const auto& mark : m_bookmarks) {
        if (mark.page < 1 || mark.page >= static_cast<int32_t>(m_pageObjects.size()))
            raise(kSubscriptOutOfRange);
        ++m_objectCounter;
        std::string block;
        appendLine(block, std::to_string(m_objectCounter) + " 0 obj");
        appendLine(block, "<</Title (" + pdf::textString(mark.text) + ")");
        appendLine(block, "/Parent " + ref(mark.parent));
        if (mark.prev >= 0) appendLine(block, "/Prev " + ref(mark.prev));
        if (mark.next >= 0) appendLine(block, "/Next " + ref(mark.next));
        if (mark.first >= 0) appendLine(block, "/First " + ref(mark.first));
        if (mark.last >= 0) appendLine(block, "/Last " + ref(mark.last));
        double top = m_pageSizeCopies[static_cast<size_t>(mark.page)].height - mark.y * m_k;
        appendLine(block, "/Dest [" + std::to_string(m_pageObjects[static_cast<size_t>(mark.page)]) +
                              " 0 R /XYZ 0 " + pdf::fixed(top, 2) + " null]");
        appendLine(block, "/Count 0>>");
        appendLine(block, "endobj");
        recordAndWrite(block);
    }
    m_outlineRoot = ++m_objectCounter;
    std::string block;
    appendLine(block, std::to_string(m_outlineRoot) + " 0 obj");
    appendLine(block, "<</Type /Outlines /First " + ref(0));
    appendLine(block, "/Last " + ref(m_lastTopBookmark) + ">>");
    appendLine(block, "endobj");
    recordAndWrite(block);
}

}  // namespace sq
