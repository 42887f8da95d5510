// The publisher and its product homepages. The version resource, the About box, the uninstall
// record, the start menu's Homepage entry and the release's signature all take them from here.
#pragma once

#define ZANTO_PUBLISHER "Grindlow Software"
#define ZANTO_HOMEPAGE_EN "http://www.grindlow-software.com/en/games/zanto/"
#define ZANTO_HOMEPAGE_DE "http://www.grindlow-software.com/de/spiele/zanto/"
