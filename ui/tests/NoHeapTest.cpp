// The dialog's own work allocates nothing: records and buffers live inside the dialog.
#include <cstdlib>
#include <new>

#include "ui/tests/SetupDlgFixture.h"

// The replacements below pair the allocation functions with malloc and free themselves; the
// compiler cannot see that pairing through a new-expression that it inlines.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

bool g_counting = false;
long g_allocations = 0;

}  // namespace

// Every allocation of this test program passes here; only those inside a counted stretch count.
void* operator new(std::size_t size) {
    if (g_counting) {
        ++g_allocations;
    }
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

class NoHeapTest : public SetupDlgTest {
protected:
    template <typename Work>
    long AllocationsOf(Work work) {
        g_allocations = 0;
        g_counting = true;
        work();
        g_counting = false;
        return g_allocations;
    }
};

TEST_F(NoHeapTest, SwitchingApplyingAndBuildingAllocateNothing) {
    LoadCard(FactoryImage());
    WhileOpen([&] {
        EXPECT_EQ(AllocationsOf([&] {
                      dlg.EnableCodec(0, 0);
                      dlg.EnableCodec(1, 1);
                      dlg.EnableCodec(1, 0);
                      dlg.EnableMidi2(0);
                      dlg.EnableMidi2(1);
                      dlg.EnableGamePort(0);
                      dlg.EnableGamePort(1);
                      dlg.SelectItemByData(dlg.m_wssIo, 0x604);
                      dlg.CheckIrqOverlap();
                      dlg.ApplyChoices();
                      dlg.BuildImage();
                  }),
                  0);
        EXPECT_GT(dlg.m_imageLength, 0);
        // The counting itself can fail: an allocation in the stretch is seen.
        // operator new called by name: an optimiser may leave out the allocation of a new
        // expression (clang at -Os does, even one whose pointer is stored), never this call.
        EXPECT_EQ(AllocationsOf([] { ::operator delete(::operator new(sizeof(int))); }), 1);
    });
    RunThenCancel();
}

TEST_F(NoHeapTest, TheReadBeforeTheBackupTheWriteAndTheCheckAfterItAllocateNothing) {
    LoadCard(FactoryImage());
    // The card double and the pause recorder keep their logs in vectors: room made beforehand.
    card.requests.reserve(8192);
    card.sleeps.reserve(4096);
    pauses.requestsBeforeSleep.reserve(4096);
    WhileOpen([&] {
        dlg.ApplyChoices();
        ASSERT_EQ(dlg.BuildImage(), 1);
        int readAgain = 0;
        int saved = 0;
        int verified = 0;
        EXPECT_EQ(AllocationsOf([&] {
                      readAgain = dlg.ReadCardBeforeWrite();
                      saved = dlg.SaveBackupOfCard();
                      for (int i = 0; i < dlg.m_imageLength; ++i) {
                          dlg.WriteImageByte(i);
                      }
                      verified = dlg.VerifyWrittenImage();
                  }),
                  0);
        EXPECT_EQ(readAgain, 1);
        EXPECT_EQ(saved, 1);
        EXPECT_EQ(verified, 1);
        EXPECT_EQ(backups.Files().size(), 1u);
    });
    RunThenCancel();
}

}  // namespace
