// The suite's version: the one place the version resources and the
// installer take it from.
#ifndef VELMORA_RESOURCES_VERSION_H
#define VELMORA_RESOURCES_VERSION_H

#define VELMORA_VERSION_MAJOR 1
#define VELMORA_VERSION_MINOR 6
#define VELMORA_VERSION_PATCH 0
#define VELMORA_VERSION_TEXT "1.6.0"
#define VELMORA_PUBLISHER "Velmora"

// Who wrote it and where it lives: the about box and the help page's mail
// link name them.
#define VELMORA_AUTHOR_NAME "the Velmora authors"
#define VELMORA_AUTHOR_MAIL "velmora@example.org"
#define VELMORA_HOME_PAGE "http://www.velmora.example/"

#endif
