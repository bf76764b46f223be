#include "help_page.h"

#include <string.h>

#include "resource.h"
#include "text.h"
#include "version.h"

const char kFaqPageFile[] = "Velmora_FAQS.html";
const char kHomePageFile[] = "index.html";
const char kAuthorAddress[] = VELMORA_AUTHOR_MAIL;
const char kMailSubject[] = "Velmora v" VELMORA_VERSION_SHORT;

namespace {

const char kMailScheme[] = "mailto:";
const char kSubjectQuery[] = "?subject=";

bool IsUnreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

// Appends text with every byte outside the unreserved set as %XX.
bool AppendEscaped(char* out, size_t room, const char* text) {
  static const char hex[] = "0123456789ABCDEF";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != '\0'; ++p) {
    char piece[4] = {static_cast<char>(*p), '\0', '\0', '\0'};
    if (!IsUnreserved(static_cast<char>(*p))) {
      piece[0] = '%';
      piece[1] = hex[*p >> 4];
      piece[2] = hex[*p & 15];
    }
    if (!AppendText(out, room, piece)) return false;
  }
  return true;
}

bool ComposePageTarget(const char* file, const char* programPath, char* out, size_t room) {
  if (programPath == nullptr) return false;
  size_t directory = 0;
  for (size_t i = 0; programPath[i] != '\0'; ++i) {
    if (programPath[i] == '\\' || programPath[i] == '/') directory = i + 1;
  }
  if (directory >= room) return false;
  memcpy(out, programPath, directory);
  out[directory] = '\0';
  return AppendText(out, room, file);
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

bool ComposeLinkTarget(HelpLink link, const char* programPath, char* out, size_t room) {
  if (room == 0) return false;
  out[0] = '\0';
  bool fits;
  switch (link) {
    case kFaqLink: fits = ComposePageTarget(kFaqPageFile, programPath, out, room); break;
    case kHomeLink: fits = ComposePageTarget(kHomePageFile, programPath, out, room); break;
    default:
      fits = AppendText(out, room, kMailScheme) && AppendText(out, room, kAuthorAddress) &&
             AppendText(out, room, kSubjectQuery) && AppendEscaped(out, room, kMailSubject);
      break;
  }
  if (!fits) out[0] = '\0';
  return fits;
}
