// The names by which one program of the suite, or its installer, finds
// another's window, file, registry key or value: written once, here. Plain
// #defines, each a string on its own line: the installer and the build read
// them from this file, as they read the version.
#ifndef VELMORA_RESOURCES_NAMES_H
#define VELMORA_RESOURCES_NAMES_H

// The programs' files, side by side in the program directory.
#define VELMORA_TRAY_MONITOR_FILE "Velmora.exe"
#define VELMORA_HIDDEN_MONITOR_FILE "VelmoraH.exe"
#define VELMORA_CONFIG_FILE "VelmoraConfig.exe"
#define VELMORA_UNINSTALL_FILE "VelmoraUninstall.exe"

// The product: the class and title of either monitor's window, the name of
// its Run value, and its key below the vendor's in
// HKEY_CURRENT_USER\Software\<vendor>\<product>. The uninstaller is given it
// once for all three.
#define VELMORA_PRODUCT "Velmora"
#define VELMORA_VENDOR "Velmora"

#endif
