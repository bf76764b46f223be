// The three option groups of the configuration dialog, described once: a
// group's choice is held only by its radios, stored as a word and handed
// to the monitor as a command-line token.
#ifndef VELMORA_CONFIG_OPTION_GROUPS_H
#define VELMORA_CONFIG_OPTION_GROUPS_H

#include "monitor_command_line.h"
#include "resource.h"

// In the order in which saving writes them and the command line carries
// their tokens; each stored in its own settings value, from
// kDisplayStyleSetting on.
enum OptionGroupId { kDisplayStyle, kDefragment, kDetailStyle, kOptionGroupCount };

struct Option {
  OptionGroupId group;
  int radio;          // its control id
  const char* word;   // the stored word
  // The command-line token. The group's default is the option without one:
  // the monitor's own default.
  OptionToken token;
  bool graph;         // a graph style: choosing it sets the interval to 1
  // Should more than one radio of a group be on, saving stores the word of
  // the lowest rank, while the command line takes the first token in the
  // table's order. The default has rank 0 and is stored when no other is on.
  int storeRank;
};

// Every option, group by group, in the order in which the defaults (and
// every other choice) set the radios.
inline constexpr Option kOptions[] = {
    {kDisplayStyle, IDC_STYLE_GREEN, "Green", FontToken(kGreenFont), false, 1},
    {kDisplayStyle, IDC_STYLE_NORMAL, "Normal", NoToken(), false, 0},
    {kDisplayStyle, IDC_STYLE_WHITE, "White", FontToken(kWhiteFont), false, 2},
    {kDisplayStyle, IDC_STYLE_GRAPH1, "Graph1", ValueToken(kStyleLetter, StyleValue(kStyleGauge)), true, 3},
    {kDisplayStyle, IDC_STYLE_GRAPH2, "Graph2", ValueToken(kStyleLetter, StyleValue(kStyleAreaGraph)), true, 4},
    {kDisplayStyle, IDC_STYLE_GRAPH3, "Graph3", ValueToken(kStyleLetter, StyleValue(kStyleLineGraph)), true, 5},
    {kDefragment, IDC_DEFRAG_LOW, "Low", NoToken(), false, 0},
    {kDefragment, IDC_DEFRAG_NEVER, "Never", ValueToken(kDefragmentLetter, kDefragmentNever), false, 2},
    {kDefragment, IDC_DEFRAG_ALWAYS, "Always", ValueToken(kDefragmentLetter, kDefragmentAlways), false, 1},
    {kDetailStyle, IDC_DETAIL_BYTES, "Bytes", FlagToken(kByteUnitsLetter), false, 1},
    {kDetailStyle, IDC_DETAIL_MBYTES, "MBytes", NoToken(), false, 0},
};

inline bool IsDefault(const Option& option) { return option.token.text[0] == '\0'; }

#endif
