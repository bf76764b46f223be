// The three option groups of the configuration dialog, described once: a
// group's choice is held only by its radios, stored as a word and handed
// to the monitor as a command-line token.
#ifndef VELMORA_CONFIG_OPTION_GROUPS_H
#define VELMORA_CONFIG_OPTION_GROUPS_H

#include "resource.h"

// In the order in which saving writes them and the command line carries
// their tokens.
enum OptionGroupId { kDisplayStyle, kDefragment, kDetailStyle, kOptionGroupCount };

// The settings values that store the groups.
inline constexpr const char* kOptionGroupValues[kOptionGroupCount] = {"DisplayStyle", "Defragment", "DetailStyle"};

struct Option {
  OptionGroupId group;
  int radio;          // its control id
  const char* word;   // the stored word
  // The command-line token. The group's default is the option without one:
  // the monitor's own default.
  const char* token;
  bool graph;         // a graph style: choosing it sets the interval to 1
  // Should more than one radio of a group be on, saving stores the word of
  // the lowest rank, while the command line takes the first token in the
  // table's order. The default has rank 0 and is stored when no other is on.
  int storeRank;
};

// Every option, group by group, in the order in which the defaults (and
// every other choice) set the radios.
inline constexpr Option kOptions[] = {
    {kDisplayStyle, IDC_STYLE_GREEN, "Green", "LG", false, 1},
    {kDisplayStyle, IDC_STYLE_NORMAL, "Normal", "", false, 0},
    {kDisplayStyle, IDC_STYLE_WHITE, "White", "LW", false, 2},
    {kDisplayStyle, IDC_STYLE_GRAPH1, "Graph1", "G=1", true, 3},
    {kDisplayStyle, IDC_STYLE_GRAPH2, "Graph2", "G=2", true, 4},
    {kDisplayStyle, IDC_STYLE_GRAPH3, "Graph3", "G=3", true, 5},
    {kDefragment, IDC_DEFRAG_LOW, "Low", "", false, 0},
    {kDefragment, IDC_DEFRAG_NEVER, "Never", "D=N", false, 2},
    {kDefragment, IDC_DEFRAG_ALWAYS, "Always", "D=Y", false, 1},
    {kDetailStyle, IDC_DETAIL_BYTES, "Bytes", "B", false, 1},
    {kDetailStyle, IDC_DETAIL_MBYTES, "MBytes", "", false, 0},
};

inline bool IsDefault(const Option& option) { return option.token[0] == '\0'; }

#endif
