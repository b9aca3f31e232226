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

// MinGW declares IXMLDOMDocument2 without its identifier.
constexpr IID kXmlDocument2 = {
    0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

// The text of the element at `path` of the task `xml` (XPath, its namespace as "t:"), read by
// the system's XML parser; nullopt when the XML is not well formed or has no such element.
std::optional<std::string> element(const std::string& xml, const std::string& path) {
    CLSID parser{};
    ComPtr<IXMLDOMDocument2> document;
    ComPtr<IXMLDOMNode> node;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    VARIANT namespaces;
    namespaces.vt = VT_BSTR;
    const Bstr task("xmlns:t='http://schemas.microsoft.com/windows/2004/02/mit/task'");
    namespaces.bstrVal = task;
    Bstr text;
    if (FAILED(::CLSIDFromProgID(L"Msxml2.DOMDocument.6.0", &parser)) ||
        FAILED(::CoCreateInstance(parser, nullptr, CLSCTX_INPROC_SERVER, kXmlDocument2,
                                  reinterpret_cast<void**>(document.GetAddressOf()))) ||
        FAILED(document->loadXML(Bstr(xml), &loaded)) || !loaded ||
        FAILED(document->setProperty(Bstr("SelectionNamespaces"), namespaces)) ||
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
    const std::string trigger = "/t:Task/t:Triggers/t:CalendarTrigger/";
    EXPECT_EQ(element(daily, trigger + "t:ScheduleByDay/t:DaysInterval"), "1") << daily;
    EXPECT_EQ(element(daily, trigger + "t:StartBoundary"), "2020-01-06T03:15:00");
    EXPECT_EQ(element(weekly, trigger + "t:ScheduleByWeek/t:DaysOfWeek/t:Monday"), "");
    EXPECT_EQ(element(weekly, trigger + "t:ScheduleByDay"), std::nullopt);
    for (const std::string& xml : {daily, weekly}) {
        EXPECT_EQ(element(xml, "/t:Task/t:Actions/t:Exec/t:Command"), kProgram);
        EXPECT_EQ(element(xml, "/t:Task/t:Actions/t:Exec/t:Arguments"), "/AUTO");
        // Only while the user is logged on: the run shows its window, which closes by itself.
        EXPECT_EQ(element(xml, "/t:Task/t:Principals/t:Principal/t:LogonType"), "InteractiveToken");
        // A night missed while the computer was off is made up when it is next on.
        EXPECT_EQ(element(xml, "/t:Task/t:Settings/t:StartWhenAvailable"), "true");
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
