// The runner inside the test process, on a card double that fails where a test asks it to:
// the faults a card file cannot show.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "backup/BackupFolder.h"
#include "backup/BackupList.h"
#include "driver/ConfigDriver.h"
#include "driver/DeviceSeam.h"
#include "driver/testing/DeviceDouble.h"
#include "pnp/FactoryImage.h"
#include "protocol/CnfProtocol.h"
#include "script/PacingDeviceApi.h"
#include "script/ScriptRunner.h"
#include "script/WriteCountingDeviceApi.h"
#include "testsupport/FileContents.h"
#include "testsupport/TemporaryFolder.h"

namespace {

constexpr int kFactoryImageLength = 248;  // bytes the writer builds from the factory card

class InProcessRun : public ::testing::Test {
protected:
    void SetUp() override {
        std::copy(FactoryImage().begin(), FactoryImage().end(), card.eeprom);
        // The program's backups go to a folder of the test's own, never the user's.
        backupFolder = std::filesystem::path(folder.Folder()) / "backups";
        variables.Set(BACKUP_FOLDER_VARIABLE, backupFolder.string());
    }

    // The backups saved, newest first.
    std::vector<std::string> Backups() const {
        std::vector<CBackupFile> backups;
        CFileError error;
        ListBackups(backupFolder.c_str(), &backups, &error);
        std::vector<std::string> paths;
        for (const CBackupFile& backup : backups) {
            paths.push_back(backup.path);
        }
        return paths;
    }

    int Run(const std::string& script) {
        CTextLineSource in(script);
        CStringTextSink out;
        const int status = RunScript(in, out);
        events.clear();
        std::istringstream lines(out.Text());
        for (std::string line; std::getline(lines, line);) {
            events.push_back(nlohmann::json::parse(line));
        }
        return status;
    }
    int WriteRequests() const {
        int count = 0;
        for (const CDeviceDouble::CRequest& request : card.requests) {
            count += request.code == IOCTL_CNF_WRITE_BYTE ? 1 : 0;
        }
        return count;
    }

    CDeviceDouble card;
    std::vector<nlohmann::json> events;
    CTemporaryFolder folder{"vym-inprocess-"};
    CScopedVariables variables;
    std::filesystem::path backupFolder;
};

std::string BackupPlace(const std::string& backup) {
    return "The EEPROM as it was before this program wrote to it is saved in " + backup +
           ". To put it back, run:\nvymcnf write \"" + backup + "\"";
}

TEST_F(InProcessRun, WrittenCountsTheWriteRequestsTheCardGot) {
    ASSERT_EQ(Run("pace off\npick 1003 544\nanswer Yes\nclick OK\n"), RUN_ENDED_NORMALLY);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2]["event"], "progress");
    EXPECT_EQ(events[2]["written"], WriteRequests());
    EXPECT_EQ(events[2]["written"], kFactoryImageLength);
    EXPECT_EQ(events[2]["range"], kFactoryImageLength);
    EXPECT_EQ(events[2]["position"], kFactoryImageLength - 1);
    EXPECT_EQ(card.eeprom[66], 0x44);  // WSS I/O low byte, now 0x544
    EXPECT_EQ(events[3], nlohmann::json({{"event", "end"}, {"result", "OK"}}));
}

TEST_F(InProcessRun, WrittenCountsOnlyTheRequestsOfItsOwnProgressDialog) {
    ASSERT_EQ(Run("pace off\nclick Button1\nclick Button1\n"), RUN_ENDED_NORMALLY);
    ASSERT_EQ(events.size(), 5u);  // backup, progress, backup, progress, end
    EXPECT_EQ(events[1]["written"], kFactoryImageLength);
    EXPECT_EQ(events[3]["written"], kFactoryImageLength);
    EXPECT_EQ(WriteRequests(), 2 * kFactoryImageLength);
}

TEST_F(InProcessRun, FailedByteWriteIsToldByTheProgramAndTheDialogStaysOpen) {
    card.FailWriteAt(10);
    ASSERT_EQ(Run("pace off\npick 1003 544\nanswer Yes\nclick OK\nclick Cancel\n"), RUN_NOT_DONE);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[2]["event"], "progress");
    EXPECT_EQ(events[2]["written"], kFactoryImageLength);  // the loop still runs to its end
    EXPECT_EQ(events[3]["event"], "messagebox");
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_EQ(
        events[3]["text"],
        "Couldn't write EEPROM at address 10. The card may now hold an incomplete image.\n\n" +
            BackupPlace(Backups()[0]));
    EXPECT_EQ(events[3]["type"], 16);
    // OK did not close the dialog over a card that lacks a byte; Cancel did.
    EXPECT_EQ(events[4]["result"], "Cancel");
}

TEST_F(InProcessRun, ABackupOfTheCardIsNamedByAnEventBeforeTheFirstByte) {
    ASSERT_EQ(Run("pace off\npick 1003 544\nanswer Yes\nclick OK\n"), RUN_ENDED_NORMALLY);
    ASSERT_EQ(events.size(), 4u);  // question, backup, progress, end
    const std::vector<std::string> backups = Backups();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(events[1], nlohmann::json({{"event", "backup"}, {"path", backups[0]}}));
    EXPECT_EQ(FileBytes(backups[0]),
              std::vector<std::uint8_t>(FactoryImage().begin(), FactoryImage().end()));
}

#ifndef _WIN32
// Sends a signal to the process at the given write request, through the handler in place then.
class CSignalAtWrite final : public CScopedForwardingDeviceApi {
public:
    CSignalAtWrite(int signalNumber, int atWrite) : m_signal(signalNumber), m_atWrite(atWrite) {}
    BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                         DWORD outSize, LPDWORD returned, LPOVERLAPPED overlapped) override {
        if (code == IOCTL_CNF_WRITE_BYTE && ++m_writes == m_atWrite) {
            std::raise(m_signal);
        }
        return CScopedForwardingDeviceApi::DeviceIoControl(device, code, in, inSize, out, outSize,
                                                           returned, overlapped);
    }

private:
    int m_signal;
    int m_atWrite;
    int m_writes = 0;
};

// A termination request, a hang-up or Ctrl-C in the middle of a write: every byte still goes to
// the card and is read back, the run stops right after and says so in its end and its status.
TEST_F(InProcessRun, ASignalDuringAWriteLetsItFinishThenEndsTheRun) {
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        std::copy(FactoryImage().begin(), FactoryImage().end(), card.eeprom);
        card.requests.clear();
        CSignalAtWrite signal(signalNumber, 100);
        // The script goes on after the write; the run does not.
        ASSERT_EQ(Run("pace off\nclick Button1\npick 1003 544\nanswer Yes\nclick OK\n"),
                  128 + signalNumber);
        ASSERT_EQ(events.size(), 3u) << signalNumber;
        EXPECT_EQ(events[0]["event"], "backup");
        EXPECT_EQ(events[1]["written"], kFactoryImageLength);
        EXPECT_EQ(WriteRequests(), kFactoryImageLength);
        EXPECT_EQ(events[2], nlohmann::json({{"event", "end"}, {"result", "Cancel"}}));
    }
}

TEST_F(InProcessRun, ASignalDuringTheWriteOfOkEndsWithTheDialogsOwnEnd) {
    CSignalAtWrite signal(SIGTERM, 3);
    ASSERT_EQ(Run("pace off\npick 1003 544\nanswer Yes\nclick OK\n"), 128 + SIGTERM);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2]["written"], kFactoryImageLength);
    EXPECT_EQ(card.eeprom[66], 0x44);  // the whole new image, read back without complaint
    EXPECT_EQ(events[3], nlohmann::json({{"event", "end"}, {"result", "OK"}}));
}

#endif

// A reader that takes nothing cannot learn where the backup is, so nothing is written.
TEST_F(InProcessRun, EventsThatCannotBeWrittenKeepEveryByteFromTheCard) {
    class CFailingSink final : public CTextSink {
    public:
        bool Write(std::string_view) override { return false; }
    } failing;
    CTextLineSource in("pace off\nclick Button1\npick 1003 544\nanswer Yes\nclick OK\n");
    EXPECT_EQ(RunScript(in, failing), RUN_INTERNAL_FAILURE);
    EXPECT_EQ(WriteRequests(), 0);
    EXPECT_EQ(Backups().size(), 1u);  // saved, but never put to use; the run stopped there
}

TEST_F(InProcessRun, ABackupThatCannotBeSavedIsAQuestionNoUnlessTheScriptSaysYes) {
    std::ofstream(folder.PathOf("file")) << "x";
    const std::string unusable = folder.PathOf("file") + "/backups";
    variables.Set(BACKUP_FOLDER_VARIABLE, unusable);
    ASSERT_EQ(Run("pace off\nclick Button1\n"), RUN_NOT_DONE);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["event"], "messagebox");
    EXPECT_EQ(events[0]["caption"], "VYM Card Setup");
    EXPECT_EQ(events[0]["type"], 36);
    EXPECT_EQ(events[0]["answer"], "No");
    EXPECT_EQ(events[0]["text"].get<std::string>().rfind(
                  "Couldn't save a backup of the EEPROM in " + unusable + ": ", 0),
              0u);
    EXPECT_EQ(events[1]["result"], "Cancel");
    EXPECT_EQ(WriteRequests(), 0);
}

TEST_F(InProcessRun, ACardThatKeepsOtherValuesFailsItsCheckAndTheDialogStaysOpen) {
    card.StoreOtherValueAt(66, 0x00);  // the WSS I/O low byte the pick changes to 0x44
    ASSERT_EQ(Run("pace off\npick 1003 544\nanswer Yes\nclick OK\nclick Cancel\n"), RUN_NOT_DONE);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[2]["event"], "progress");
    EXPECT_EQ(events[2]["written"], kFactoryImageLength);
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_EQ(events[3]["text"],
              "The EEPROM does not hold what was written: 1 byte differs, the first at address "
              "66. The card may now hold a damaged image.\n\n" +
                  BackupPlace(Backups()[0]));
    EXPECT_EQ(events[3]["type"], 16);
    EXPECT_EQ(events[4]["result"], "Cancel");
}

TEST_F(InProcessRun, PartlyReadCardIsNeverWritten) {
    card.FailReadAt(100);
    ASSERT_EQ(Run("pace off\nclick Button1\n"), RUN_NOT_DONE);
    EXPECT_EQ(WriteRequests(), 0);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["text"], "Couldn't read the whole EEPROM, so nothing was written.");
    EXPECT_EQ(events[1]["result"], "Cancel");
}

TEST_F(InProcessRun, OpenFailureShowsTheSystemTextOnceAndQuits) {
    card.FailOpen(ERROR_ACCESS_DENIED);
    ASSERT_EQ(Run("show\nclick OK\n"), RUN_NOT_DONE);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["text"], "Access is denied.\r\n");
    EXPECT_EQ(events[0]["type"], 64);
    EXPECT_EQ(events[1]["result"], "quit");
    EXPECT_TRUE(card.requests.empty());
}

TEST_F(InProcessRun, ReadOnlyCardIsShownAndItsWriteRefusedBeforeTheBackup) {
    card.readOnly = true;
    ASSERT_EQ(Run("pace off\nshow\npick 1003 544\nanswer Yes\nclick OK\nclick Cancel\n"),
              RUN_NOT_DONE);
    // Twelve combo events (the card was read and shown), the question, the refusal, the end.
    ASSERT_EQ(events.size(), 15u);
    EXPECT_EQ(events[0]["text"], "534");
    EXPECT_EQ(events[12]["type"], 36);
    EXPECT_EQ(events[13]["type"], 16);
    EXPECT_EQ(events[13]["text"].get<std::string>().rfind(
                  "The card's EEPROM file may be read but not written, so nothing was written.", 0),
              0u);
    EXPECT_EQ(events[14]["result"], "Cancel");
    EXPECT_EQ(WriteRequests(), 0);
    EXPECT_TRUE(Backups().empty());
}

TEST_F(InProcessRun, ExitStatusTellsTheWorstOutcome) {
    // A refused line: the run goes on and writes, but a batch must learn of it.
    EXPECT_EQ(Run("pace off\npick 1003 0x240\npick 1003 544\nanswer Yes\nclick OK\n"),
              RUN_LINE_REFUSED);
    EXPECT_EQ(card.eeprom[66], 0x44);
    // A refused line and a write that did not complete: the write matters more.
    card.FailWriteAt(10);
    EXPECT_EQ(Run("pace off\npick 1003 0x240\nclick Button1\n"), RUN_NOT_DONE);
    // A malformed line outranks everything.
    EXPECT_EQ(Run("pace off\npick 1003 0x240\nclick Button1\nclick\n"), RUN_MALFORMED_SCRIPT);
    // Answering No to the question asks for no write.
    EXPECT_EQ(Run("pace off\npick 1003 554\nanswer No\nclick OK\n"), RUN_ENDED_NORMALLY);
}

TEST_F(InProcessRun, MalformedLineWritesNothingEvenWithAnAnswerQueued) {
    ASSERT_EQ(Run("pace off\npick 1003 544\nanswer Yes\nclick\nclick OK\n"), RUN_MALFORMED_SCRIPT);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["event"], "error");
    EXPECT_EQ(events[0]["line"], 4);
    EXPECT_EQ(events[1]["result"], "Cancel");
    EXPECT_EQ(WriteRequests(), 0);
}

TEST_F(InProcessRun, RunsOneAfterAnotherInOneProcessStartFresh) {
    // Nothing of a run (queued answers, pacing, counts) leaks into the next one.
    ASSERT_EQ(Run("pace off\nanswer Yes\nanswer Yes\nclick Button1\n"), RUN_ENDED_NORMALLY);
    ASSERT_EQ(Run("pace off\npick 1003 544\nclick OK\n"), RUN_ENDED_NORMALLY);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["answer"], "No");
    EXPECT_EQ(events[1]["result"], "OK");
}

TEST(RunnerDeviceServices, CountsWriteRequestsOnlyAndForwardsEveryRequest) {
    CDeviceDouble card;
    card.eeprom[5] = 0x5A;
    CWriteCountingDeviceApi counting;
    CDeviceApi& api = CurrentDeviceApi();
    const HANDLE device = api.CreateFileA(CNF_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(card.openCount, 1);
    CNF_BYTE_REQUEST read = {5, 0, 0, 0};
    DWORD returned = 0;
    EXPECT_TRUE(
        api.DeviceIoControl(device, IOCTL_CNF_READ_BYTE, &read, 4, &read, 4, &returned, nullptr));
    EXPECT_EQ(read.value, 0x5A);
    EXPECT_EQ(counting.Writes(), 0);
    CNF_BYTE_REQUEST write = {7, 0, 0x11, 0};
    EXPECT_TRUE(api.DeviceIoControl(device, IOCTL_CNF_WRITE_BYTE, &write, 4, nullptr, 0, &returned,
                                    nullptr));
    EXPECT_EQ(card.eeprom[7], 0x11);
    EXPECT_EQ(counting.Writes(), 1);
    // A failed write was still sent to the card: it counts.
    card.FailWriteAt(8);
    write.addressLow = 8;
    EXPECT_FALSE(api.DeviceIoControl(device, IOCTL_CNF_WRITE_BYTE, &write, 4, nullptr, 0, &returned,
                                     nullptr));
    EXPECT_EQ(api.GetLastError(), static_cast<DWORD>(ERROR_WRITE_FAULT));
    EXPECT_EQ(counting.Writes(), 2);
    counting.ResetWrites();
    EXPECT_EQ(counting.Writes(), 0);
    EXPECT_EQ(card.requests.size(), 3u);
}

TEST(RunnerDeviceServices, PauseGoesThroughOnlyWhilePacingIsOn) {
    CDeviceDouble card;
    CWriteCountingDeviceApi counting;
    CPacingDeviceApi pace;
    EXPECT_TRUE(pace.Pacing());
    CurrentDeviceApi().Sleep(20);
    pace.SetPacing(false);
    CurrentDeviceApi().Sleep(20);
    EXPECT_EQ(card.sleeps, std::vector<DWORD>{20});
    EXPECT_EQ(counting.Writes(), 0);
}

TEST(RunnerDeviceServices, OuterServicesComeBackAtTheEnd) {
    CDeviceDouble card;
    const CDeviceApi* before = &CurrentDeviceApi();
    {
        CWriteCountingDeviceApi counting;
        EXPECT_NE(&CurrentDeviceApi(), before);
        {
            CPacingDeviceApi pace;
            EXPECT_EQ(&CurrentDeviceApi(), &pace);
        }
        EXPECT_EQ(&CurrentDeviceApi(), &counting);
    }
    EXPECT_EQ(&CurrentDeviceApi(), before);
}

}  // namespace
