// The presets editor's operations on a bank: slots moved about with the
// current favorite following its station, duplicates, and when an edited
// bank counts as changed.

#include "radioset/bank_edits.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tunevox::radioset {
namespace {

tFavorites Bank() {
    tFavorites bank{};
    bank[1] = {"One", 98.7, radio::bFM, false, true};
    bank[2] = {"Two", 101.3, radio::bFM, false, true};
    bank[3] = {"Talk", 0.693, radio::bAM, false, true};
    bank[100] = {"Last", 107.2, radio::bFM, false, true};
    return bank;
}

// The names of slots 1..5 and 100, "-" for an empty slot.
std::vector<std::string> Names(const tFavorites& bank) {
    std::vector<std::string> names;
    for (int n : {1, 2, 3, 4, 5, 100}) names.push_back(bank[n].Used ? bank[n].Name : "-");
    return names;
}

TEST(BankEdits, SlotsMoveAndTheCurrentFavoriteFollowsItsStation) {
    tFavorites bank = Bank();
    // Insert before the current favorite: it moves down with its station;
    // slot 100's station falls off the end.
    int current = InsertSlot(bank, 2, 3);
    EXPECT_EQ(current, 4);
    EXPECT_EQ(Names(bank), (std::vector<std::string>{"One", "-", "Two", "Talk", "-", "-"}));
    EXPECT_EQ(bank[4].Name, "Talk");
    bank[100] = {"Last", 107.2, radio::bFM, false, true};
    EXPECT_EQ(InsertSlot(bank, 50, 100), 0) << "the current favorite fell off the end";

    // Delete above the current favorite moves it up; deleting it ends it.
    bank = Bank();
    current = DeleteSlot(bank, 1, 3);
    EXPECT_EQ(current, 2);
    EXPECT_EQ(Names(bank), (std::vector<std::string>{"Two", "Talk", "-", "-", "-", "-"}));
    EXPECT_EQ(bank[99].Name, "Last");
    EXPECT_EQ(DeleteSlot(bank, 2, 2), 0);
    EXPECT_EQ(DeleteSlot(bank, 5, 2), 2) << "below it: no change";

    // Moving swaps and the current favorite goes along; clearing ends it.
    bank = Bank();
    EXPECT_EQ(SwapSlots(bank, 2, 3, 2), 3);
    EXPECT_EQ(SwapSlots(bank, 1, 2, 3), 3);
    EXPECT_EQ(Names(bank), (std::vector<std::string>{"Talk", "One", "Two", "-", "-", "Last"}));
    EXPECT_EQ(EmptySlot(bank, 3, 3), 0);
    EXPECT_EQ(EmptySlot(bank, 1, 2), 2);
    EXPECT_EQ(UsedCount(bank), 2);
    EXPECT_EQ(SwapSlots(bank, 100, 101, 100), 100) << "no slot 101";
}

TEST(BankEdits, DuplicatesAndWhatCountsAsAChange) {
    tFavorites bank = Bank();
    EXPECT_FALSE(HasDuplicateFrequency(bank));
    bank[5] = {"Again", 101.3004, radio::bAM, false, true};
    EXPECT_TRUE(HasDuplicateFrequency(bank)) << "the same to the kHz, whatever the band";
    bank[5].Used = false;
    EXPECT_FALSE(HasDuplicateFrequency(bank)) << "an empty slot holds nothing";

    // Tidying: names trimmed, empty slots wholly empty.
    bank[1].Name = "  One  ";
    bank[5] = {"ghost", 90.0, radio::bAM, true, false};
    TidyBank(bank);
    EXPECT_EQ(bank[1].Name, "One");
    EXPECT_EQ(bank[5].Name, "");
    EXPECT_EQ(bank[5].Band, radio::bFM);
    EXPECT_DOUBLE_EQ(bank[5].Frequency, 0.0);

    const tFavorites original = Bank();
    tFavorites edited = original;
    edited[1].Name = " ONE ";
    edited[2].Frequency = 101.3002;
    edited[4] = {"not used", 88.0, radio::bAM, false, false};
    EXPECT_FALSE(BankDiffers(edited, original)) << "case, blanks, noise below the kHz and empty slots";
    for (auto change : std::vector<std::function<void(tFavorites&)>>{
             [](tFavorites& b) { b[2].Frequency = 101.35; }, [](tFavorites& b) { b[3].Band = radio::bFM; },
             [](tFavorites& b) { b[1].Name = "Uno"; }, [](tFavorites& b) { b[4].Used = true; }}) {
        tFavorites changed = edited;
        change(changed);
        EXPECT_TRUE(BankDiffers(changed, original));
    }
}

} // namespace
} // namespace tunevox::radioset
