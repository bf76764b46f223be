// The help page: fixed texts in its template, three link buttons that open
// their targets, and OK or Cancel to close it. Its FAQ and home pages are
// shipped beside the programs; the mail link goes to the author.
#ifndef VELMORA_CONFIG_HELP_PAGE_H
#define VELMORA_CONFIG_HELP_PAGE_H

#include <stddef.h>

enum HelpLink { kFaqLink, kHomeLink, kMailLink };

enum HelpAction {
  kHelpOpensLink,  // open the link's target; the page stays open
  kHelpEnds,       // close the page
  kHelpDefault,    // not ours
};

extern const char kFaqPageFile[];     // "Velmora_FAQS.html"
extern const char kHomePageFile[];    // "index.html"
extern const char kMailSubject[];     // "Velmora v" and the short version

// Room for a link target: a program directory of MAX_PATH and a file name.
const size_t kLinkTargetRoom = 300;

// What a click on control id of the page does; *link names the link.
HelpAction HelpPageCommand(int id, HelpLink* link);

// The target of a link, the pages taken from the directory of programPath
// (this program's full file name, or null when it is not known: the pages
// then have no target). False, with out empty, when there is no target or it
// does not fit the room.
bool ComposeLinkTarget(HelpLink link, const char* programPath, char* out, size_t room);
// The mail link's target for this subject, every byte outside the
// unreserved set written as %XX; false, with out empty, when it does not
// fit.
bool ComposeMailTarget(const char* subject, char* out, size_t room);

#endif
