// The --json object of every command, read back as a station would: in process against the
// simulated device, through the same session the executable runs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <set>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

#include "cli/CliCalibrate.h"
#include "cli/CliSession.h"
#include "cli/JsonReport.h"
#include "device/DeviceProtocol.h"
#include "device/LogCapture.h"
#include "sim/SimTransport.h"
#ifdef TAVLIN_SIGNED_PACKAGES
#include "crypto/Sha256.h"
#endif

namespace tavlin::cli {
namespace {

using nlohmann::json;
using ::testing::Contains;
using ::testing::HasSubstr;
using namespace std::chrono_literals;

// The simulated device behind a link that calls `action` as the `nth` output report carrying
// `command` goes out: an operator's Ctrl+C at an exact point of the run, with no timing guess.
class GatedTransport : public HidTransport {
  public:
    GatedTransport(HidTransport& inner, uint8_t command, int nth, std::function<void()> action)
        : inner_(inner), command_(command), nth_(nth), action_(std::move(action)) {}

    std::vector<HidInterfaceInfo> Enumerate() override { return inner_.Enumerate(); }
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override {
        auto connection = inner_.Open(path, errorCode);
        return connection ? std::make_unique<Gate>(*this, std::move(connection)) : nullptr;
    }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& c) override {
        return inner_.Attributes(*static_cast<Gate&>(c).inner);
    }
    std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) override {
        return inner_.WatchPresence(std::move(onChange));
    }

  private:
    struct Gate : HidConnection {
        Gate(GatedTransport& owner, std::unique_ptr<HidConnection> c)
            : owner(owner), inner(std::move(c)) {}
        IoResult Write(const uint8_t* report, size_t length) override {
            if (length > 1 && report[1] == owner.command_ && ++owner.seen_ == owner.nth_) {
                owner.action_();
            }
            return inner->Write(report, length);
        }
        IoResult Read(uint8_t* report, size_t length, int timeoutMs) override {
            return inner->Read(report, length, timeoutMs);
        }
        void DiscardPendingInput() override { inner->DiscardPendingInput(); }
        const std::string& Path() const override { return inner->Path(); }
        bool Gone() const override { return inner->Gone(); }
        GatedTransport& owner;
        std::unique_ptr<HidConnection> inner;
    };

    HidTransport& inner_;
    const uint8_t command_;
    const int nth_;
    const std::function<void()> action_;
    std::atomic<int> seen_{0};
};

class JsonReportTest : public ::testing::Test {
  protected:
    JsonReportTest() {
        dir =
            std::filesystem::temp_directory_path() / ("tavlin-json-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        sim.setReenumerationDelay(20ms);
    }
    ~JsonReportTest() override { std::filesystem::remove_all(dir); }

    // Runs one command and gives its object, parsed back from the one line JsonReport wrote,
    // after checking the members every object carries.
    json Run(std::vector<std::string> args, HidTransport* link = nullptr,
             Interruption* interruption = nullptr) {
        Invocation inv;
        std::string error;
        EXPECT_TRUE(ParseInvocation(args, &inv, &error)) << error;
        std::FILE* people = std::tmpfile();
        RunReport report;
        const int status = RunSession(inv, link != nullptr ? *link : sim, people, 100, interruption,
                                      people, &report);
        std::fclose(people);
        const std::string line = JsonReport(args[0], status, report, "/tmp/Tavlin_log.txt", 5);
        EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line, ended by its line feed";
        json object = json::parse(line);  // throws, failing the test, on anything but JSON
        EXPECT_EQ(object.at("command"), args[0]);
        EXPECT_EQ(object.at("exit"), status);
        EXPECT_EQ(object.at("result"), ExitWord(status));
        EXPECT_TRUE(object.at("interrupted").is_boolean());
        EXPECT_EQ(object.at("reason").get<std::string>().empty(), status == kExitSuccess);
        EXPECT_TRUE(object.at("messages").is_array());
        EXPECT_TRUE(object.at("device").is_null() || object.at("device").is_object());
        EXPECT_EQ(object.at("log"), "/tmp/Tavlin_log.txt");
        EXPECT_EQ(object.at("elapsed_ms"), 5);
        EXPECT_EQ(object.at("tool_version"), TAVLIN_VERSION);
        return object;
    }
    std::string Write(const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
        return (dir / name).string();
    }

    testing::LogCapture log;
    sim::SimTransport sim;
    std::filesystem::path dir;
};

TEST_F(JsonReportTest, DeviceCommandsCarryWhatTheyReadAndEveryTextInOrder) {
    sim.firmware().setImageVersion(0, 0x00010203);
    sim.firmware().setImageVersion(1, 0xABCDEF01);
    json o = Run({"versions"});
    EXPECT_EQ(o["result"], "ok");
    EXPECT_EQ(o["device"], json({{"vendor_id", kVendorId}, {"product_id", kProductIdWork}}));
    EXPECT_EQ(o["versions"], json({{"master", "00010203"}, {"slave", "abcdef01"}}));
    // As printed, in order, without the line feed; the Chinese texts as valid UTF-8.
    EXPECT_EQ(o["messages"], json({"正在检测设备，请稍候...", "设备检测完成。",
                                   "IMAGE Version: M--00010203, S--abcdef01"}));

    o = Run({"mode", "calibration"});
    EXPECT_THAT(o["messages"], Contains("当前模式为标定模式！"));
    EXPECT_EQ(o["versions"]["slave"], "abcdef01");
    EXPECT_FALSE(Run({"mode", "work"}).contains("versions"));

    EXPECT_EQ(Run({"write", "0x10001234", "0x1A5"})["exit"], kExitSuccess);
    o = Run({"read", "0x10001234"});
    EXPECT_EQ(o["value"], json({{"address", 0x10001234}, {"value", 0xA5}}));
    EXPECT_THAT(o["messages"], Contains("0xa5"));

    o = Run({"script", Write("ok.ini", "1 pwd 10 1 5A\n")});
    EXPECT_THAT(o["messages"], Contains("Success!"));
    o = Run({"fpga", Write("code.bin", std::string(1000, 'Z'))});
    EXPECT_EQ(o["result"], "ok");
    EXPECT_FALSE(Run({"detect"}).contains("versions"));
}

TEST_F(JsonReportTest, UpdateListsTheImagesWrittenAndWhetherTheVersionsCameBack) {
    const std::string h = Write("h.bin", std::string(130, 'h'));
    const std::string l = Write("l.bin", std::string(200, 'l'));
    const std::string package =
        Write("pkg.ini",
              "[Tavlin HInfo]\nImage_en=1\nImage_version=7\nImage_name=" + h +
                  "\n[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\nImage_name=" + l + "\n");
    json o = Run({"update", package, "--verify"});
    ASSERT_EQ(o["result"], "ok") << o.dump();
    // HInfo goes to both sensors, each entry says which; 62 bytes a packet.
    // With the hash of the bytes written, where the build checks packages.
    const auto entry = [](const std::string& name, int bytes, int packets, const char* image,
                          const char* sensor, char fill) {
        json row = {{"name", name},
                    {"bytes", bytes},
                    {"packets", packets},
                    {"image", image},
                    {"sensor", sensor}};
#ifdef TAVLIN_SIGNED_PACKAGES
        row["sha256"] = Sha256Hex(std::string(bytes, fill));
#else
        (void)fill;
#endif
        return row;
    };
    const json written = o["images"];
    ASSERT_EQ(written.size(), 3u) << o.dump();
    EXPECT_EQ(std::set<json>({written[0], written[1]}),
              std::set<json>({entry(h, 130, 3, "HInfo", "master", 'h'),
                              entry(h, 130, 3, "HInfo", "slave", 'h')}));
    EXPECT_EQ(written[2], entry(l, 200, 4, "LInfo", "master", 'l'));
    EXPECT_EQ(o["verified"], true);
    EXPECT_EQ(o["versions"]["master"], "12345678");
    EXPECT_EQ(o["trust"], "none") << "an unsigned package";

    o = Run({"update", package});
    EXPECT_EQ(o["verified"], false);
    EXPECT_FALSE(o.contains("versions"));

    ASSERT_TRUE(sim.WaitForAttached(kProductIdWork, 2s));
    sim.faults().Refuse(cmd::kImageVersionWriteMaster);
    o = Run({"update", package});
    EXPECT_EQ(o["result"], "failed");
    EXPECT_EQ(o["images"].size(), 2u) << "only the HInfo images went out whole";
}

TEST_F(JsonReportTest, LevelAndCalibrateCarryTheirParametersAndTargets) {
    json o = Run({"level", "--exposure", "--png", (dir / "pics").string()});
    ASSERT_EQ(o["result"], "ok") << o.dump();
    for (const char* sensor : {"master", "slave"}) {
        const json& s = o["sensors"][sensor];
        EXPECT_GT(s["start_line"], 0);
        EXPECT_LT(s["start_column"], s["end_column"]);
        EXPECT_EQ(s["exposure"].size(), 2u);
    }
    EXPECT_EQ(o["pictures"],
              json({(dir / "pics/master.png").string(), (dir / "pics/slave.png").string()}));
    EXPECT_THAT(o["messages"][3].get<std::string>(), HasSubstr("Master: "));
    EXPECT_FALSE(Run({"level"})["sensors"]["master"].contains("exposure"));

    o = Run({"calibrate", "--screen", "1280x720"});
    ASSERT_EQ(o["result"], "ok") << o.dump();
    EXPECT_EQ(o["screen"], json({{"width", 1280}, {"height", 720}}));
    ASSERT_EQ(o["targets"].size(), 15u);
    const RunReport::Target first = LayoutTargets(1280, 720)[0];
    EXPECT_EQ(o["targets"][0],
              json({{"number", 0}, {"x", first.x}, {"y", first.y}, {"code", first.code}}));
    EXPECT_THAT(o["messages"], Contains("target 0 (" + std::to_string(first.x) + ", " +
                                        std::to_string(first.y) + ")"));
}

TEST_F(JsonReportTest, FailuresSayWhichAndWhy) {
    sim.Detach();
    json o = Run({"versions"});
    EXPECT_EQ(o["exit"], kExitNoDevice);
    EXPECT_EQ(o["result"], "no-device");
    EXPECT_TRUE(o["device"].is_null());
    EXPECT_THAT(o["messages"], Contains("未检测到相应设备，请确认连接情况。"));
    sim.Attach(kProductIdWork);
    ASSERT_TRUE(sim.WaitForAttached(kProductIdWork, 2s));

    sim.faults().Refuse(cmd::kModeSwitch);
    o = Run({"mode", "work"});
    EXPECT_EQ(o["result"], "failed");
    EXPECT_THAT(o["messages"], Contains("模式转换失败，请重新尝试！"));

    sim.faults().Clear();
    sim.faults().NoReplyTo(cmd::kImageVersionReadBoth);
    o = Run({"versions"});
    EXPECT_EQ(o["result"], "failed");
    EXPECT_FALSE(o.contains("versions")) << "no versions were read";

    sim.faults().Clear();
    sim.faults().Refuse(cmd::kFpgaSingleRead + cmd::kSlaveOffset);
    o = Run({"read", "0x10001234"});
    EXPECT_EQ(o["result"], "failed");
    EXPECT_FALSE(o.contains("value")) << "a refused read has no value";

    sim.faults().Clear();
    sim.faults().UnplugAt(cmd::kFpgaWrite);
    o = Run({"script", Write("unplug.ini", "1 pwd 10 1 5A\n1 pwd 11 1 5B\n")});
    EXPECT_EQ(o["exit"], kExitFailed);
    EXPECT_THAT(o["messages"], Contains("Master: FPGAPortWrite error"));
}

TEST_F(JsonReportTest, AnInterruptionIsNeverAnOk) {
    Interruption interruption;
    GatedTransport secondWrite(sim, cmd::kFpgaWrite, 2, [&] { interruption.Request(); });
    const std::string script = Write("long.ini", "1 pwd 10 1 5A\n1 pwd 11 1 5B\n1 pwd 12 1 5C\n");
    json o = Run({"script", script}, &secondWrite, &interruption);
    EXPECT_EQ(o["interrupted"], true);
    EXPECT_EQ(o["result"], "failed");
    EXPECT_FALSE(o["reason"].get<std::string>().empty());

    // Ctrl+C during the leveling search: no parameters were found, none are reported.
    Interruption duringSearch;
    GatedTransport search(sim, cmd::kStartLineSearch, 1, [&] { duringSearch.Request(); });
    o = Run({"level", "--frames", "3"}, &search, &duringSearch);
    EXPECT_EQ(o["interrupted"], true);
    EXPECT_EQ(o["exit"], kExitFailed);
    EXPECT_FALSE(o.contains("sensors"));
}

TEST(JsonReport, BrokenUtf8AndUsageErrorsStillGiveAnObject) {
    RunReport report;
    report.result = Result::Fail(ResultCode::BadInput, "unknown command '\xff\xfe'");
    report.messages = {"tavlin-cli: unknown command '\xff\xfe'", "Ça marche — Готово"};
    const json o = json::parse(JsonReport("\xc3", kExitUsage, report, "", 0));
    EXPECT_EQ(o["result"], "usage");
    EXPECT_TRUE(o["log"].is_null());
    EXPECT_EQ(o["messages"][1], "Ça marche — Готово");
    // Every broken byte stands as U+FFFD, never dropped: a reader sees that something was there.
    EXPECT_EQ(o["reason"], "unknown command '\xef\xbf\xbd\xef\xbf\xbd'");
    EXPECT_EQ(o["messages"][0], "tavlin-cli: unknown command '\xef\xbf\xbd\xef\xbf\xbd'");
    EXPECT_EQ(o["command"], "\xef\xbf\xbd");
    EXPECT_EQ(o["tool_version"], TAVLIN_VERSION) << "a usage error's object too";
    EXPECT_FALSE(o.contains("log_complete")) << "no log, nothing to say of it";
    // A job that went well keeps its exit status, but a log or recording cut short is said.
    report.logComplete = false;
    report.recording = RunReport::Recording{"run.trace", false, "writing the file failed"};
    const json cut =
        json::parse(JsonReport("versions", kExitSuccess, report, "/l/Tavlin_log.txt", 0));
    EXPECT_EQ(cut["exit"], kExitSuccess);
    EXPECT_EQ(cut["log_complete"], false);
    EXPECT_EQ(
        cut["recording"],
        json({{"path", "run.trace"}, {"complete", false}, {"reason", "writing the file failed"}}));
    EXPECT_EQ(std::string(ExitWord(kExitNoAccess)), "no-access");
    EXPECT_EQ(std::string(ExitWord(kExitFailed)), "failed");
}

}  // namespace
}  // namespace tavlin::cli
