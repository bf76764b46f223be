#include "help_page.h"

#include "resource.h"
#include "text_writer.h"
#include "version.h"

const char kFaqPageFile[] = "Velmora_FAQS.html";
const char kHomePageFile[] = "index.html";
const char kMailSubject[] = "Velmora v" VELMORA_VERSION_SHORT;

namespace {

const char kMailPrefix[] = "mailto:" VELMORA_AUTHOR_MAIL "?subject=";

bool IsUnreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

// Writes text with every byte outside the unreserved set as %XX.
void WriteEscaped(TextWriter* w, const char* text) {
  static const char hex[] = "0123456789ABCDEF";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != '\0'; ++p) {
    if (IsUnreserved(static_cast<char>(*p))) {
      w->Char(static_cast<char>(*p));
    } else {
      w->Char('%');
      w->Char(hex[*p >> 4]);
      w->Char(hex[*p & 15]);
    }
  }
}

// The file in the directory of programPath; false when there is no path.
bool WritePageTarget(TextWriter* w, const char* file, const char* programPath) {
  if (programPath == nullptr) return false;
  size_t directory = 0;
  for (size_t i = 0; programPath[i] != '\0'; ++i) {
    if (programPath[i] == '\\' || programPath[i] == '/') directory = i + 1;
  }
  for (size_t i = 0; i < directory; ++i) w->Char(programPath[i]);
  w->Text(file);
  return true;
}

}  // namespace

HelpAction HelpPageCommand(int id, HelpLink* link) {
  switch (id) {
    case IDC_LINK_FAQ: *link = kFaqLink; return kHelpOpensLink;
    case IDC_LINK_HOME: *link = kHomeLink; return kHelpOpensLink;
    case IDC_LINK_MAIL: *link = kMailLink; return kHelpOpensLink;
    case IDC_DIALOG_OK:
    case IDC_DIALOG_CANCEL: return kHelpEnds;
  }
  return kHelpDefault;
}

bool ComposeMailTarget(const char* subject, char* out, size_t room) {
  if (room == 0) return false;
  TextWriter w = TextWriter::Over(out, room);
  w.Text(kMailPrefix);
  WriteEscaped(&w, subject);
  return w.FinishWhole(out);
}

bool ComposeLinkTarget(HelpLink link, const char* programPath, char* out, size_t room) {
  if (link == kMailLink) return ComposeMailTarget(kMailSubject, out, room);
  if (room == 0) return false;
  TextWriter w = TextWriter::Over(out, room);
  bool known = WritePageTarget(&w, link == kFaqLink ? kFaqPageFile : kHomePageFile, programPath);
  return w.FinishWhole(out, known);
}
