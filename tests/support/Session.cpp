#include "tests/support/Session.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "korlib/Registre.h"

namespace vidor::test {

namespace {

platform::Services withNotices(const platform::Services& real, platform::Notifier& notices) {
    return {real.settings, real.drives,  real.files,   real.webCache, real.process,
            real.windows,  real.journal, real.trashed, notices};
}

korlib::Registre settings() {
    static TestSettings store;
    return korlib::Registre(store, "Vidor");
}

}  // namespace

Session::Session(std::vector<std::string> arguments, bool updateOff)
    : machine(kTestProgram, std::move(arguments)),
      services(withNotices(machine.services(windows), notices)) {
    withoutPackageLists(machine);
    if (updateOff && !machineSetting("RépertoireMiseAJour"))
        storeMachineSetting("RépertoireMiseAJour", "-");
    form = std::make_unique<app::F_Main>(services);
}

std::optional<int> Session::load() {
    loaded_ = true;
    return act([this] { form->Form_Load(); });
}

std::optional<int> Session::loadPrinting() {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const auto status = load();
    out = ::testing::internal::GetCapturedStdout();
    err = ::testing::internal::GetCapturedStderr();
    return status;
}

std::optional<int> Session::census(const CensusChoices& choices) {
    if (const auto status = loaded_ ? std::nullopt : load()) return status;
    if (!choices.extensions.empty()) selectOnly(form->lExt, choices.extensions);
    if (choices.toTrash) form->poubel.setValue(*choices.toTrash);
    if (choices.purgeTemp) form->VidorTP.setValue(*choices.purgeTemp);
    if (choices.purgeInternet) form->VidorIE.setValue(*choices.purgeInternet);
    return act([this] { form->bGo.press(); });
}

std::optional<int> Session::act(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::ProgramEnd& end) {
        return end.status;
    }
    return std::nullopt;
}

std::optional<int> runToEnd(const std::vector<std::string>& arguments) {
    return Session(arguments).load();
}

std::optional<std::string> userSetting(const std::string& name) {
    return settings().RegistreLit(name);
}

std::optional<std::string> machineSetting(const std::string& name) {
    return settings().RegistreLit(name, "Brenlo", platform::Hive::LocalMachine);
}

void storeUserSetting(const std::string& name, const std::string& value) {
    settings().ParametreEcrit(name, value);
}

void storeMachineSetting(const std::string& name, const std::string& value) {
    settings().RegistreEcrit(name, value, "Brenlo", platform::Hive::LocalMachine);
}

void selectOnly(platform::ListBox& list, const std::vector<std::string>& wanted) {
    for (int i = 0; i < list.count(); ++i)
        list.setSelected(i, std::find(wanted.begin(), wanted.end(), list.item(i)) != wanted.end());
}

std::vector<std::string> itemsOf(const platform::ListBox& list) {
    return {list.items().begin(), list.items().end()};
}

std::vector<std::string> selectedOf(const platform::ListBox& list) {
    std::vector<std::string> selected;
    for (int i = 0; i < list.count(); ++i)
        if (list.selected(i)) selected.push_back(list.item(i));
    return selected;
}

}  // namespace vidor::test
