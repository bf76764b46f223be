// The suite's version: the one place the version resources and the
// installer take it from.
#ifndef VELMORA_RESOURCES_VERSION_H
#define VELMORA_RESOURCES_VERSION_H

#define VELMORA_VERSION_MAJOR 1
#define VELMORA_VERSION_MINOR 6
#define VELMORA_VERSION_PATCH 0
#define VELMORA_VERSION_TEXT "1.6.0"
#define VELMORA_PUBLISHER "Velmora"

#endif
