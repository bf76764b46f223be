// The three option groups of the configuration dialog. A group's choice is
// held only by its radios: the one that is on, read in the group's own
// order of precedence.
#ifndef VELMORA_CONFIG_OPTION_GROUPS_H
#define VELMORA_CONFIG_OPTION_GROUPS_H

struct OptionChoice {
  int radio;
  const char* name;  // the stored word
};

struct OptionGroup {
  const char* valueName;      // the settings value that stores the choice
  OptionChoice fallback;      // the default, chosen when no other is on
  const OptionChoice* others; // in the order in which saving looks at them
  int otherCount;
};

extern const OptionGroup kDisplayStyleGroup;
extern const OptionGroup kDefragmentGroup;
extern const OptionGroup kDetailStyleGroup;

#endif
