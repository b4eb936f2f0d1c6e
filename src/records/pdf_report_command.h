#pragma once
// The record list window's "PDF" command and the report bound to that window (the report itself is
// reports/pdf_report.h).
#include <string>

namespace sq {

class DataListFrm;

// The report of the loaded DataListFrm, with DeviceModel, PrintRecordData and the texts; its
// caption shows the progress while the window stays loaded.
void ExportPdfReport(const std::string& path);

// The record list window's "PDF": with polling paused and the toolbar idle, asks whether the point
// table goes in, offers <program folder>/PDF/ and the record's time as the file, and writes the
// report to the path as chosen. A cancel, or a path without a file name, writes nothing.
void PdfReportCommand(DataListFrm& frm);

}  // namespace sq
