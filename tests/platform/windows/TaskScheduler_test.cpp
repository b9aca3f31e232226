#include "platform/windows/TaskScheduler.h"

#include <windows.h>
// after windows.h, which it needs
#include <gtest/gtest.h>
#include <msxml2.h>

#include <optional>

#include "platform/windows/Com.h"
#include "platform/windows/TaskXml.h"

namespace vidor::platform::windows {
namespace {

// Characters that XML and the command line each read in their own way.
constexpr const char* kProgram = "C:\\Program Files\\Brenlo & <Co>\\Vidor.exe";

// A task of the test's own, next to the user's real "Vidor".
std::string taskName() {
    return "VidorEssai-" + std::to_string(::GetCurrentProcessId());
}

// The text of the element at `path` of the task `xml` (XPath), read by the system's XML parser;
// nullopt when the XML is not well formed or has no such element. The task's namespace is taken
// out first: in any other, the task has none of these elements.
std::optional<std::string> element(std::string xml, const std::string& path) {
    const std::string task = " xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\"";
    if (const auto at = xml.find(task); at != std::string::npos) xml.erase(at, task.size());
    CLSID parser{};
    ComPtr<IXMLDOMDocument> document;
    ComPtr<IXMLDOMNode> node;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    Bstr text;
    if (FAILED(::CLSIDFromProgID(L"Msxml2.DOMDocument.6.0", &parser)) ||
        FAILED(::CoCreateInstance(parser, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(document.GetAddressOf()))) ||
        FAILED(document->loadXML(Bstr(xml), &loaded)) || !loaded ||
        document->selectSingleNode(Bstr(path), &node) != S_OK ||
        FAILED(node->get_text(text.out()))) {
        return std::nullopt;
    }
    return text.utf8();
}

TEST(TaskSchedulerTest, TheTaskRunsTheProgramEveryNightOrEveryMondayForItsUser) {
    ComApartment apartment;
    const std::string daily = taskXml(Frequency::Daily, kProgram, "/AUTO");
    const std::string weekly = taskXml(Frequency::Weekly, kProgram, "/AUTO");
    const std::string trigger = "/Task/Triggers/CalendarTrigger/";
    EXPECT_EQ(element(daily, trigger + "ScheduleByDay/DaysInterval"), "1") << daily;
    EXPECT_EQ(element(daily, trigger + "StartBoundary"), "2020-01-06T03:15:00");
    EXPECT_EQ(element(weekly, trigger + "ScheduleByWeek/DaysOfWeek/Monday"), "");
    EXPECT_EQ(element(weekly, trigger + "ScheduleByDay"), std::nullopt);
    for (const std::string& xml : {daily, weekly}) {
        EXPECT_EQ(element(xml, "/Task/Actions/Exec/Command"), kProgram);
        EXPECT_EQ(element(xml, "/Task/Actions/Exec/Arguments"), "/AUTO");
        // Only while the user is logged on: the run shows its window, which closes by itself.
        EXPECT_EQ(element(xml, "/Task/Principals/Principal/LogonType"), "InteractiveToken");
        // A night missed while the computer was off is made up when it is next on.
        EXPECT_EQ(element(xml, "/Task/Settings/StartWhenAvailable"), "true");
    }
}

TEST(TaskSchedulerTest, ATaskForThisUserEveryNightThenEveryWeekThenRemoved) {
    TaskScheduler scheduler(taskName());
    std::optional<Schedule> found;
    std::string error;
    if (!scheduler.find(found, error) && error.find("ne répond pas") != std::string::npos) {
        GTEST_SKIP() << "the Task Scheduler service does not answer (Wine's): " << error;
    }
    Schedule done;
    std::string notice;
    ASSERT_TRUE(scheduler.schedule(Frequency::Daily, kProgram, "/AUTO", done, notice, error))
        << error;
    EXPECT_EQ(done.frequency, Frequency::Daily);
    EXPECT_EQ(done.where, "tâche planifiée « " + taskName() + " » de Windows");

    ASSERT_TRUE(scheduler.schedule(Frequency::Weekly, kProgram, "/AUTO", done, notice, error))
        << error;
    ASSERT_TRUE(scheduler.find(found, error)) << error;
    ASSERT_TRUE(found);
    EXPECT_EQ(found->frequency, Frequency::Weekly);
    EXPECT_EQ(found->command, std::string("\"") + kProgram + "\" /AUTO");

    std::optional<Schedule> removed;
    ASSERT_TRUE(scheduler.unschedule(removed, error)) << error;
    EXPECT_TRUE(removed);
    ASSERT_TRUE(scheduler.find(found, error)) << error;
    EXPECT_FALSE(found);
}

}  // namespace
}  // namespace vidor::platform::windows
