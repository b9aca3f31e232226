#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/F_Main.h"
#include "platform/scripted/ScriptedWindowSystem.h"
#include "tests/support/Sandbox.h"
#include "tests/support/TestMachine.h"

namespace vidor::test {

// The desktop's notifications, kept for the test: "title: text" each.
struct RecordedNotices : platform::Notifier {
    void notify(const std::string& summary, const std::string& text) override {
        texts.push_back(summary + ": " + text);
    }
    std::vector<std::string> texts;
};

// What a census is started with; what is not given stays as the window loaded it.
struct CensusChoices {
    std::vector<std::string> extensions = {};  // selected alone
    std::optional<bool> toTrash = {};          // "Mettre dans la corbeille Windows"
    std::optional<bool> purgeTemp = {};        // the TEMP folders' option
    std::optional<bool> purgeInternet = {};    // the Temporary Internet Files' option
};

// One run of the program inside a sandbox: the machine's real services (settings files, drive
// map, file system, trash, journal), a scripted window system, notifications kept for the test,
// and the main window.
class Session {
  public:
    // `arguments` follow the program's name on its command line. Unless told otherwise, the
    // machine's update folder is set to "-" (no self-update) so that start-up asks nothing.
    explicit Session(std::vector<std::string> arguments = {}, bool updateOff = true);

    // Loads the main window; the exit status when the program ended meanwhile, else nullopt
    // (the window waits for the user).
    std::optional<int> load();
    // load(), keeping what the run printed on standard output and standard error.
    std::optional<int> loadPrinting();
    // Runs `action` (a user's click...) as the window system would; the exit status when the
    // program ended meanwhile.
    std::optional<int> act(const std::function<void()>& action);
    // A census as the user starts one: loads the window unless it is loaded, makes the choices
    // given, then presses "Recenser". The exit status when the program ended meanwhile, else
    // nullopt (the census left its files for review, or was cancelled).
    std::optional<int> census(const CensusChoices& choices = {});

    platform::ScriptedWindowSystem windows;
    RecordedNotices notices;
    TestMachine machine;
    platform::Services services;
    std::unique_ptr<app::F_Main> form;
    std::string out, err;  // what loadPrinting() kept

  private:
    bool loaded_ = false;
};

// A whole run of the program with `arguments`, to its end: its exit status.
std::optional<int> runToEnd(const std::vector<std::string>& arguments);

// The text of a setting of the program (user key), or nullopt.
std::optional<std::string> userSetting(const std::string& name);
// The text of a machine setting (key Brenlo), or nullopt.
std::optional<std::string> machineSetting(const std::string& name);
// Stores a setting of the program (user key) as the previous run would have.
void storeUserSetting(const std::string& name, const std::string& value);
void storeMachineSetting(const std::string& name, const std::string& value);

// Selects exactly the lines of `list` whose text is in `wanted`.
void selectOnly(platform::ListBox& list, const std::vector<std::string>& wanted);

// The items of a list, and the selected ones.
std::vector<std::string> itemsOf(const platform::ListBox& list);
std::vector<std::string> selectedOf(const platform::ListBox& list);

}  // namespace vidor::test
