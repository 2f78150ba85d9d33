#pragma once

namespace avatello {

// The program keeps nothing between runs, yet Qt's file and colour dialogs store their state
// (last folder, history, sidebar, view mode, custom colours) through QSettings in the user's
// QtProject.conf and read it back at the next run. This points every QSettings file of the
// process at a folder that can never exist, so those dialogs read nothing and write nothing.
// Called once at start-up, before any dialog is shown.
void keepNoSettings();

} // namespace avatello
