#include "app/pdf_announcement.h"

#include <utility>

#include "support/codepage.h"
#include "support/run_log.h"

namespace lumaro {

std::string pdfFileMessage(const std::string& path) {
    return ansi(
               "Das Dokument wurde nicht auf Papier gedruckt, sondern als PDF-Datei "
               "gespeichert:") +
           "\r\n" + path;
}

std::string pdfFileLogLine(const std::string& path) {
    return ansi("Dokument als PDF-Datei gespeichert: ") + path;
}

void announcePdfFile(const Services& s, const std::string& path) {
    // The log first: it is the trace that stays when nobody reads the message.
    Protokollieren(s, pdfFileLogLine(path), 4);
    s.messages.show(pdfFileMessage(path), kPdfFileTitle, MessageIcon::Information);
}

void PdfAnnouncer::delivered(const RecordedJob&, const std::string& file) {
    file_ = file;
}

void PdfAnnouncer::endDoc(int, int) {
    const std::string file = std::move(file_);
    file_.clear();
    if (!file.empty() && printers_.announcesPdfFiles())
        announcePdfFile(s_, file);
}

}  // namespace lumaro
