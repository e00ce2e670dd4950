#include "app/explorer/ExplorerDialogs.h"

ExplorerDialogs& explorer_dialogs()
{
    static ExplorerDialogs dialogs;
    return dialogs;
}
