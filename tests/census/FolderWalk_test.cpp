#include "census/FolderWalk.h"

#include <gtest/gtest.h>

#include "tests/support/Session.h"

namespace vidor::census {
namespace {

using Items = std::vector<std::string>;

// A drive root listing three folders: one that fails with an error, one the user may not open
// (a silent failure) and an empty one. The names of the folders it is asked to open go to `opened`.
class FakeFolder : public platform::Folder {
  public:
    FakeFolder(Items& opened, Items subFolders)
        : opened_(opened), subFolders_(std::move(subFolders)) {}

    bool next(platform::FolderEntry& entry) override {
        if (next_ == subFolders_.size()) return false;
        entry = {subFolders_[next_++], platform::EntryKind::Folder};
        return true;
    }
    std::unique_ptr<Folder> openFolder(std::string_view name,
                                       platform::FolderError& error) override {
        opened_.push_back(std::string(name));
        if (name == "fine") return std::make_unique<FakeFolder>(opened_, Items{});
        error = name == "broken" ? platform::FolderError{false, "Erreur d'entrée/sortie"}
                                 : platform::FolderError{true, {}};
        return nullptr;
    }
    std::optional<std::uint64_t> fileSize(std::string_view) override { return std::nullopt; }
    bool setNormal(std::string_view) override { return false; }
    bool deleteFile(std::string_view) override { return false; }
    bool moveToTrash(std::string_view) override { return false; }
    bool removeFolder(std::string_view) override { return false; }
    bool createFolderLike(std::string_view, Folder&) override { return false; }

  private:
    Items& opened_;
    Items subFolders_;
    std::size_t next_ = 0;
};

// The machine's file system, but for the root of C:, a fake folder.
class FakeRoots : public platform::FileSystem {
  public:
    explicit FakeRoots(platform::FileSystem& machine) : machine_(machine) {}
    std::unique_ptr<platform::Folder> openFolder(const std::string& path,
                                                 platform::FolderError& error) override {
        if (path != "C:\\") return machine_.openFolder(path, error);
        return std::make_unique<FakeFolder>(opened, Items{"broken", "locked", "fine"});
    }
    std::optional<platform::FileInfo> info(const std::string& path) override {
        return machine_.info(path);
    }
    bool deleteFile(const std::string& path, std::string* error) override {
        return machine_.deleteFile(path, error);
    }
    bool moveToTrash(const std::string& path) override { return machine_.moveToTrash(path); }
    bool createFolder(const std::string& path) override { return machine_.createFolder(path); }
    bool copyFile(const std::string& from, const std::string& to, std::string& error) override {
        return machine_.copyFile(from, to, error);
    }
    Items opened;

  private:
    platform::FileSystem& machine_;
};

TEST(FolderWalkTest, AFolderThatFailsToListShowsItsErrorOnceAndTheWalkGoesOn) {
    test::Sandbox sandbox("C=3:c");
    test::Session session;
    FakeRoots files(session.services.files);
    platform::Services services{
        session.services.settings, session.services.drives,  files,
        session.services.webCache, session.services.process, session.windows};
    app::F_Main& form = *session.form;
    CensusWindow window{form,         form.pSaisie, form.pExec,    form.poubel,
                        form.Poubel2, form.bGo,     form.bEffacer, form.bConserver,
                        form.bAuto,   form.bAnn,    form.lUnites,  form.lExt,
                        form.lDel,    form.eExec,   form.eTaille,  form.flags};
    TailleTotale total(form.eTaille);
    FolderWalk walk(services, window, total);

    walk.Nettoyer("C:");
    EXPECT_EQ(files.opened, (Items{"broken", "locked", "fine"}));
    ASSERT_EQ(session.windows.messages.size(), 1u);
    const auto& message = session.windows.messages.front();
    EXPECT_EQ(message.text, "Erreur d'entrée/sortie");
    EXPECT_EQ(message.buttons, platform::Buttons::Ok);
    EXPECT_EQ(message.icon, platform::Icon::None);
    EXPECT_EQ(message.title, "Vidor");
    EXPECT_EQ(form.eExec.caption(), "C:\\fine\\");
}

}  // namespace
}  // namespace vidor::census
