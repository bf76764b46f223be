// The help page's buttons and the targets of its links.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "help_page.h"
#include "resource.h"

namespace {

TEST(HelpPage, ButtonsOpenLinksOrClose) {
  const struct {
    int id;
    HelpAction action;
    HelpLink link;
  } cases[] = {
      {IDC_LINK_FAQ, kHelpOpensLink, kFaqLink},
      {IDC_LINK_HOME, kHelpOpensLink, kHomeLink},
      {IDC_LINK_MAIL, kHelpOpensLink, kMailLink},
      {1, kHelpEnds, kFaqLink},
      {2, kHelpEnds, kFaqLink},
      {IDC_HELP_VERSION, kHelpDefault, kFaqLink},
      {IDC_SHOW_HELP, kHelpDefault, kFaqLink},
      {0, kHelpDefault, kFaqLink},
  };
  int i = 0;
  for (const auto& c : cases) {
    HelpLink link = kFaqLink;
    EXPECT_EQ(HelpPageCommand(c.id, &link), c.action) << "case " << i;
    EXPECT_EQ(link, c.link) << "case " << i;
    ++i;
  }
}

TEST(HelpPage, LinkTargets) {
  const struct {
    HelpLink link;
    const char* program;  // null: the program's path is not known
    size_t room;
    bool ok;
    const char* want;
  } cases[] = {
      {kFaqLink, "C:\\Tools\\VelmoraConfig.exe", kLinkTargetRoom, true, "C:\\Tools\\Velmora_FAQS.html"},
      {kHomeLink, "C:\\Tools\\VelmoraConfig.exe", kLinkTargetRoom, true, "C:\\Tools\\index.html"},
      {kHomeLink, "C:\\VelmoraConfig.exe", kLinkTargetRoom, true, "C:\\index.html"},
      {kHomeLink, "Z:/work/bin/VelmoraConfig.exe", kLinkTargetRoom, true, "Z:/work/bin/index.html"},
      {kHomeLink, "VelmoraConfig.exe", kLinkTargetRoom, true, "index.html"},
      {kFaqLink, nullptr, kLinkTargetRoom, false, ""},
      {kMailLink, nullptr, kLinkTargetRoom, true, "mailto:velmora@example.org?subject=Velmora%20v1.6"},
      {kMailLink, "C:\\Tools\\VelmoraConfig.exe", kLinkTargetRoom, true,
       "mailto:velmora@example.org?subject=Velmora%20v1.6"},
      // Exactly the room, and one byte less.
      {kHomeLink, "C:\\T\\x.exe", 16, true, "C:\\T\\index.html"},
      {kHomeLink, "C:\\T\\x.exe", 15, false, ""},
      {kHomeLink, "C:\\Tools\\x.exe", 5, false, ""},
      {kMailLink, nullptr, 50, true, "mailto:velmora@example.org?subject=Velmora%20v1.6"},
      {kMailLink, nullptr, 49, false, ""},
      {kMailLink, nullptr, 10, false, ""},
  };
  int i = 0;
  for (const auto& c : cases) {
    char out[kLinkTargetRoom + 8];
    memset(out, 'P', sizeof out);
    EXPECT_EQ(ComposeLinkTarget(c.link, c.program, out, c.room), c.ok) << "case " << i;
    EXPECT_STREQ(out, c.want) << "case " << i;
    for (size_t b = c.room; b < sizeof out; ++b) ASSERT_EQ(out[b], 'P') << "case " << i << " byte " << b;
    ++i;
  }
}

}  // namespace
