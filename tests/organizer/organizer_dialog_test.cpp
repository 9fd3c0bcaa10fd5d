// The organizer window over a radio set on an emulated card: the tree
// edited as a user edits it (add, rename, drag, delete) with the refusals
// the user reads, the tuner shown for a station only, OK writing the
// archive in its order, and Cancel leaving the file while a favorite set
// by a drop stays.

#include "organizer/organizer_dialog.h"

#include "archive/archive.h"
#include "favoritesgrid/favorites_grid.h"
#include "organizer/archive_model.h"
#include "radioset/radio_set_fixture.h"
#include "stationtuner/station_tuner.h"
#include "support/qt_test_support.h"
#include "support/scripted_interaction.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace tunevox::organizer {
namespace {

using archive::tArchiveNode;
using radioset::test::RadioSetRig;
using tunevox::test::ScriptedInteraction;

constexpr char kIni[] = "[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\n[Audio]\nVolume=168\n";
constexpr char kDb[] = "[Archive]\nRows=4\n"
                       "Row1=1 1 0 X 000.000 Jazz\n"
                       "Row2=2 2 1 M 090.500 Jazz FM\n"
                       "Row3=2 3 0 M 080.000 Far away\n"
                       "Row4=2 4 0 M 087.000 Bottom\n";

struct OrganizerWindowRig {
    OrganizerWindowRig() : r(kIni) {
        tunevox::test::WriteTextFile(r.dir.File("Tunevox.db"), kDb);
        r.Start();
        dialog = std::make_unique<tdOrganizer>(r.Set(), ui);
    }
    tArchiveNode* Find(const std::string& name, tArchiveNode* under = nullptr) {
        tArchiveNode* node = under ? under : &dialog->Session().Archive().Root();
        for (size_t i = 0; i < node->ChildCount(); ++i) {
            if (node->Child(i)->Name() == name) return node->Child(i);
            if (tArchiveNode* deeper = Find(name, node->Child(i))) return deeper;
        }
        return nullptr;
    }
    void Select(const std::string& name) { dialog->Select(name == "Root" ? &dialog->Session().Archive().Root() : Find(name)); }
    bool Rename(const std::string& name, const QString& to) {
        return dialog->Model().setData(dialog->IndexOf(Find(name)), to, Qt::EditRole);
    }
    QStringList Warnings() const {
        QStringList texts;
        for (const auto& box : ui.boxes) texts << box.text;
        return texts;
    }
    std::string File() const { return tunevox::test::ReadTextFile(r.dir.File("Tunevox.db")); }

    RadioSetRig r;
    ScriptedInteraction ui;
    std::unique_ptr<tdOrganizer> dialog;
};

TEST(OrganizerWindow, TheTreeIsEditedByItsRulesAndOkWritesItInTheArchivesOrder) {
    OrganizerWindowRig o;
    tdOrganizer& d = *o.dialog;
    EXPECT_EQ(d.windowTitle(), "Channels organizer");
    EXPECT_FALSE(d.StationData->isVisibleTo(&d));
    EXPECT_FALSE(d.iDelete->isEnabled()) << "the root stays";
    EXPECT_TRUE(d.iAdd->isEnabled());

    // A station under Jazz, then a folder.
    o.Select("Jazz");
    d.AddStationClick();
    d.AddFolderClick();
    EXPECT_TRUE(d.RadioTree->isExpanded(d.IndexOf(o.Find("Jazz"))));
    ASSERT_NE(o.Find("Station Name"), nullptr);
    EXPECT_DOUBLE_EQ(o.Find("Station Name")->Station()->frequency, 87.0);

    // Renames: to a free name; to a sibling's name in other case (refused);
    // to its own name in other case; and the root never.
    EXPECT_TRUE(o.Rename("Station Name", "b radio"));
    EXPECT_FALSE(o.Rename("Folder Name", "JAZZ FM"));
    EXPECT_TRUE(o.Rename("Folder Name", "FOLDER NAME"));
    EXPECT_FALSE(d.Model().setData(d.IndexOf(&d.Session().Archive().Root()), "Top", Qt::EditRole));
    EXPECT_EQ(o.Warnings(), (QStringList{"A node with this name already exists", "This node can't be renamed"}));

    // Drags: onto its own folder (refused, told), a station into a folder.
    o.Select("FOLDER NAME");
    d.RadioTreeDragDrop(d.IndexOf(o.Find("Jazz")));
    EXPECT_EQ(o.Warnings().last(), "Destination node is the same as the source node");
    o.Select("Far away");
    d.RadioTreeDragDrop(d.IndexOf(o.Find("Jazz")));
    EXPECT_EQ(o.Find("Far away")->Parent(), o.Find("Jazz"));
    EXPECT_EQ(o.Find("Far away")->Record().parentId, o.Find("Jazz")->Record().id);
    EXPECT_EQ(d.NodeAt(d.RadioTree->currentIndex()), o.Find("Far away")) << "the moved node stays selected";

    // The tuner shows for a station, out of range at 80 MHz on this card.
    EXPECT_TRUE(d.StationData->isVisibleTo(&d));
    ASSERT_NE(d.StationData->LOut, nullptr);
    EXPECT_TRUE(d.StationData->LOut->isVisibleTo(&d));
    tunevox::test::ExpectNothingClipped(d, "organizer, station");
    tunevox::test::Screenshot(d, "organizer_station");

    // Delete from the keyboard; the selection goes to the node in its place.
    o.Select("Bottom");
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(d.RadioTree, &del);
    EXPECT_EQ(o.Find("Bottom"), nullptr);
    o.Select("Jazz");
    EXPECT_FALSE(d.StationData->isVisibleTo(&d));
    tunevox::test::Screenshot(d, "organizer_folder");

    d.btOk->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    // Read back: stations before folders, each by name without regard to case.
    archive::TArchive back;
    ASSERT_EQ(back.Load(o.r.dir.File("Tunevox.db")).status, archive::TArchive::eLoad::Loaded);
    const tArchiveNode& jazz = *back.Root().Child(0);
    ASSERT_EQ(jazz.ChildCount(), 4u);
    std::vector<std::string> names;
    for (size_t i = 0; i < 4; ++i) names.push_back(jazz.Child(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"b radio", "Far away", "Jazz FM", "FOLDER NAME"}));
    EXPECT_EQ(back.NodeCount(), 6u);
}

TEST(OrganizerWindow, CancelKeepsTheFileButAStationDroppedOnAButtonStaysAFavorite) {
    OrganizerWindowRig o;
    tdOrganizer& d = *o.dialog;
    const std::string before = o.File();
    o.Select("Jazz");
    d.AddFolderClick();
    o.Select("Jazz FM");
    EXPECT_TRUE(o.r.rig->EmulatedReceiver()->audioOn) << "a selected station plays";

    const favoritesgrid::tDraggedStation jazz{90.5, radio::bFM, "Jazz FM"};
    EXPECT_FALSE(d.Presets->AcceptsDrop({98.7, radio::bFM, "Other"}, 4)) << "only the tree's selected station";
    ASSERT_TRUE(d.Presets->Drop(jazz, 4));
    EXPECT_TRUE(o.r.Set().Favorites()[4].Used);
    EXPECT_EQ(o.r.Set().CurrentFavorite(), 4);
    EXPECT_FALSE(d.Presets->AcceptsDrop(jazz, 5)) << "held by 4 now";

    d.reject();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(o.File(), before);
    EXPECT_TRUE(o.r.Set().Favorites()[4].Used);
}

} // namespace
} // namespace tunevox::organizer
