#include "tray_menu.h"

#include "text_writer.h"
#include "version.h"

const char kAboutText[] =
    "Velmora v" VELMORA_VERSION_SHORT "\n"
    "\n"
    "By " VELMORA_AUTHOR_NAME "\t\t\t" VELMORA_AUTHOR_MAIL "\n"
    "\n"
    VELMORA_HOME_PAGE "\n"
    "\n"
    "Note: Use VelmoraConfig.exe for full Help";

const char kBoxTitle[] = "Velmora";

namespace {

const int kNumberWidth = 6;

struct Line {
  const char* word;
  const char* label;
  const char* after;  // what follows the unit letter
};

const Line kLines[] = {
    {"Total ", "RAM:\t", "\n"},     {"Free ", "RAM:\t", "\n\n"},
    {"Total ", "Page:\t", " \n"},   {"Free ", "Page:\t", "\n\n"},
    {"Total ", "Virtual:\t", "\n"}, {"Free ", "Virtual:\t", ""},
};

}  // namespace

bool HelpStartsConfiguration(const MonitorSettings& settings) { return settings.configPath[0] != '\0'; }

void FormatDetails(char* out, size_t room, const MemoryStatus& status, bool byteUnits) {
  if (room == 0) return;
  const uint32_t amounts[] = {status.totalPhys,     status.availPhys,    status.totalPageFile,
                               status.availPageFile, status.totalVirtual, status.availVirtual};
  TextWriter w = TextWriter::Over(out, room);
  static_assert(sizeof amounts / sizeof amounts[0] == sizeof kLines / sizeof kLines[0], "a line for each amount");
  for (size_t i = 0; i < sizeof kLines / sizeof kLines[0]; ++i) {
    w.Text(kLines[i].word);
    w.Text(kLines[i].label);
    w.Number(byteUnits ? amounts[i] : RoundToMegabytes(amounts[i]), kNumberWidth);
    w.Char(byteUnits ? ' ' : 'M');
    w.Text(kLines[i].after);
  }
  w.Finish();
}
