#include "radioset/bank_edits.h"

#include "radio/frequency.h"
#include "radioset/name_case.h"

#include <algorithm>
#include <set>
#include <string>
#include <utility>

namespace tunevox::radioset {

namespace {

bool InRange(int n) { return n >= 1 && n <= kFavoriteCount; }

std::string_view Trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

} // namespace

void TidyBank(tFavorites& bank) {
    for (int n = 1; n <= kFavoriteCount; ++n) {
        tFavorite& f = bank[n];
        if (f.Used) f.Name = std::string(Trimmed(f.Name));
        else ClearSlot(f);
    }
}

int UsedCount(const tFavorites& bank) {
    return static_cast<int>(std::count_if(bank.begin() + 1, bank.end(), [](const tFavorite& f) { return f.Used; }));
}

int InsertSlot(tFavorites& bank, int s, int current) {
    if (!InRange(s)) return current;
    for (int n = kFavoriteCount; n > s; --n) bank[n] = bank[n - 1];
    ClearSlot(bank[s]);
    if (current >= s) return current == kFavoriteCount ? 0 : current + 1;
    return current;
}

int DeleteSlot(tFavorites& bank, int s, int current) {
    if (!InRange(s)) return current;
    for (int n = s; n < kFavoriteCount; ++n) bank[n] = bank[n + 1];
    ClearSlot(bank[kFavoriteCount]);
    if (current == s) return 0;
    return current > s ? current - 1 : current;
}

int SwapSlots(tFavorites& bank, int a, int b, int current) {
    if (!InRange(a) || !InRange(b) || a == b) return current;
    std::swap(bank[a], bank[b]);
    if (current == a) return b;
    if (current == b) return a;
    return current;
}

int EmptySlot(tFavorites& bank, int s, int current) {
    if (!InRange(s)) return current;
    ClearSlot(bank[s]);
    return current == s ? 0 : current;
}

bool HasDuplicateFrequency(const tFavorites& bank) {
    std::set<std::string> seen;
    for (int n = 1; n <= kFavoriteCount; ++n)
        if (bank[n].Used && !seen.insert(radio::FrequencyText(bank[n].Frequency)).second) return true;
    return false;
}

bool BankDiffers(const tFavorites& edited, const tFavorites& original) {
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const tFavorite& a = edited[n];
        const tFavorite& b = original[n];
        if (a.Used != b.Used) return true;
        if (!a.Used) continue;
        if (!SameNameIgnoringCase(Trimmed(a.Name), Trimmed(b.Name)) || a.Band != b.Band ||
            radio::FrequencyText(a.Frequency) != radio::FrequencyText(b.Frequency))
            return true;
    }
    return false;
}

} // namespace tunevox::radioset
