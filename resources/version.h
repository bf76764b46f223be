// The suite's version: the one place it is written. The version resources,
// the about box, the help page and its mail link, the web pages, the build's
// project version (the package names) and the installer all take it from
// here. CMake and the installer read the three numbers from these lines, so
// each stays a plain number on its own #define.
#ifndef VELMORA_RESOURCES_VERSION_H
#define VELMORA_RESOURCES_VERSION_H

#define VELMORA_VERSION_MAJOR 1
#define VELMORA_VERSION_MINOR 6
#define VELMORA_VERSION_PATCH 0

// The texts, spelt from the numbers as adjacent string literals: both the
// C++ compiler and windres join them into one.
#define VELMORA_QUOTE_(x) #x
#define VELMORA_QUOTE(x) VELMORA_QUOTE_(x)
// "1.6": the version in titles ("Velmora v1.6").
#define VELMORA_VERSION_SHORT VELMORA_QUOTE(VELMORA_VERSION_MAJOR) "." VELMORA_QUOTE(VELMORA_VERSION_MINOR)
// "1.6.0": the version resources and the installer.
#define VELMORA_VERSION_TEXT VELMORA_VERSION_SHORT "." VELMORA_QUOTE(VELMORA_VERSION_PATCH)

#define VELMORA_PUBLISHER "Velmora"

// Who wrote it and where it lives: the about box and the help page's mail
// link name them.
#define VELMORA_AUTHOR_NAME "the Velmora authors"
#define VELMORA_AUTHOR_MAIL "velmora@example.org"
#define VELMORA_HOME_PAGE "http://www.velmora.example/"

#endif
