#include "platform/windows/TaskXml.h"

#include <cstdio>

namespace vidor::platform::windows {

namespace {

std::string escaped(const std::string& text) {
    std::string result;
    for (const char c : text) {
        switch (c) {
            case '&':
                result += "&amp;";
                break;
            case '<':
                result += "&lt;";
                break;
            case '>':
                result += "&gt;";
                break;
            case '"':
                result += "&quot;";
                break;
            case '\'':
                result += "&apos;";
                break;
            default:
                result += c;
        }
    }
    return result;
}

// The first start: a past Monday night at the scheduled time; the task comes back from there.
std::string startBoundary() {
    char text[32];
    std::snprintf(text, sizeof text, "2020-01-06T%02d:%02d:00", kScheduledHour, kScheduledMinute);
    return text;
}

std::string schedule(Frequency frequency) {
    if (frequency == Frequency::Daily)
        return "      <ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay>\n";
    return "      <ScheduleByWeek><DaysOfWeek><Monday /></DaysOfWeek>"
           "<WeeksInterval>1</WeeksInterval></ScheduleByWeek>\n";
}

}  // namespace

std::string taskXml(Frequency frequency, const std::string& program, const std::string& parameter) {
    // The delay keeps the machines of a network from all starting at once.
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
           "<Task version=\"1.2\" "
           "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
           "  <RegistrationInfo>\n"
           "    <Author>Vidor /PLANIFIER</Author>\n"
           "    <Description>Vidor : suppression des fichiers temporaires</Description>\n"
           "  </RegistrationInfo>\n"
           "  <Triggers>\n"
           "    <CalendarTrigger>\n"
           "      <StartBoundary>" +
           startBoundary() +
           "</StartBoundary>\n"
           "      <RandomDelay>PT10M</RandomDelay>\n" +
           schedule(frequency) +
           "    </CalendarTrigger>\n"
           "  </Triggers>\n"
           "  <Principals>\n"
           "    <Principal id=\"Author\">\n"
           "      <LogonType>InteractiveToken</LogonType>\n"
           "      <RunLevel>LeastPrivilege</RunLevel>\n"
           "    </Principal>\n"
           "  </Principals>\n"
           "  <Settings>\n"
           "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
           "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n"
           "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\n"
           "    <StartWhenAvailable>true</StartWhenAvailable>\n"
           "  </Settings>\n"
           "  <Actions Context=\"Author\">\n"
           "    <Exec>\n"
           "      <Command>" +
           escaped(program) +
           "</Command>\n"
           "      <Arguments>" +
           escaped(parameter) +
           "</Arguments>\n"
           "    </Exec>\n"
           "  </Actions>\n"
           "</Task>\n";
}

}  // namespace vidor::platform::windows
