#pragma once

#include <QString>

// Where the file registry keeps its hives (platforms without a registry).
// The user hive follows the per-user configuration folder (XDG_CONFIG_HOME);
// the machine hive is the first one found in the system configuration
// folders (XDG_CONFIG_DIRS, by default /etc/xdg).
QString UserHiveFile();
QString MachineHiveFile();
