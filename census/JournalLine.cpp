#include "census/JournalLine.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "platform/OneLine.h"

namespace vidor::census {

namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::size_t kFields = 7;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

template <class Number>
bool number(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

std::vector<std::string_view> fields(std::string_view text) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t tab = text.find('\t');
        parts.push_back(text.substr(0, tab));
        if (tab == std::string_view::npos) return parts;
        text.remove_prefix(tab + 1);
    }
}

}  // namespace

std::string isoTime(std::int64_t time, int utcOffset) {
    const std::int64_t local = time + utcOffset;
    std::int64_t days = local / kDay;
    std::int64_t seconds = local % kDay;
    if (seconds < 0) {
        seconds += kDay;
        --days;
    }
    std::int64_t year = 0;
    int month = 0, day = 0;
    civilFromDays(days, year, month, day);
    const int offset = utcOffset < 0 ? -utcOffset : utcOffset;
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02lld:%02lld:%02lld%c%02d:%02d",
                  static_cast<long long>(year), month, day, static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60),
                  utcOffset < 0 ? '-' : '+', offset / 3600, offset / 60 % 60);
    return text;
}

std::optional<std::int64_t> parseIsoTime(std::string_view text) {
    // 2026-12-07T06:37:06+01:00
    if (text.size() != 25 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || (text[19] != '+' && text[19] != '-') ||
        text[22] != ':') {
        return std::nullopt;
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, oh = 0, om = 0;
    if (!number(text.substr(0, 4), year) || !number(text.substr(5, 2), month) ||
        !number(text.substr(8, 2), day) || !number(text.substr(11, 2), hour) ||
        !number(text.substr(14, 2), minute) || !number(text.substr(17, 2), second) ||
        !number(text.substr(20, 2), oh) || !number(text.substr(23, 2), om) || month < 1 ||
        month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    const int offset = (text[19] == '-' ? -1 : 1) * (oh * 3600 + om * 60);
    return daysFromCivil(year, month, day) * kDay + hour * 3600 + minute * 60 + second - offset;
}

std::string journalText(const JournalLine& line, int utcOffset) {
    std::string text = isoTime(line.time, utcOffset);
    for (const std::string* field :
         {&line.how, &line.path, &line.trashedAs, &line.run, &line.folders}) {
        text += '\t';
        text += platform::oneLine(*field);
        if (field == &line.how) text += '\t' + std::to_string(line.size);
    }
    return text + '\n';
}

std::optional<JournalLine> parseJournalLine(std::string_view text) {
    const std::vector<std::string_view> parts = fields(text);
    if (parts.size() != kFields) return std::nullopt;
    JournalLine line;
    const auto time = parseIsoTime(parts[0]);
    if (!time || !number(parts[2], line.size) || parts[1].empty() || parts[3].empty()) {
        return std::nullopt;
    }
    line.time = *time;
    line.how = platform::fromOneLine(parts[1]);
    line.path = platform::fromOneLine(parts[3]);
    line.trashedAs = platform::fromOneLine(parts[4]);
    line.run = platform::fromOneLine(parts[5]);
    line.folders = platform::fromOneLine(parts[6]);
    return line;
}

}  // namespace vidor::census
