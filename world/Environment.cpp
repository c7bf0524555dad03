// Environment.cpp: the weather section of scenario files, the weather at a
// position, the main loop's weather step, the weather marks, and the light
// from the sun tables.
#include "world/Environment.h"

#include <cstdlib>

#include "core/ErrorReport.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "world/Map.h"
#include "world/WeatherTexts.h"

Environment* gEnvironment = nullptr;

namespace {

// 1024 angle units of longitude are one second of solar time (240 s a degree).
constexpr int32_t ANGLE_PER_TIME_SECOND = ANGLE_PER_DEGREE / 240;

// Sunrise and sunset, minutes after local midnight, by half-month (first
// half of January first) and latitude band (0-2: below 30 degrees, every 10;
// 3-14: from 30 degrees, every 5). Sunrise 1440 with sunset 0: the sun stays
// down; sunrise 0 with sunset 1440: it stays up.
constexpr int16_t SUNRISE[24][15] = {
    { 359,  377,  394,  416,  428,  442,  458,  479,  507,  543, 1440, 1440, 1440, 1440, 1440},   // Jan 1-15
    { 365,  381,  398,  417,  428,  441,  456,  474,  496,  529, 1440, 1440, 1440, 1440, 1440},   // Jan 16 on
    { 370,  382,  391,  411,  420,  430,  441,  456,  474,  498,  535, 1440, 1440, 1440, 1440},   // Feb 1-15
    { 371,  380,  390,  401,  407,  414,  422,  432,  445,  460,  485,  520, 1440, 1440, 1440},   // Feb 16 on
    { 369,  376,  381,  388,  392,  396,  401,  406,  414,  424,  438,  457,  487, 1440, 1440},   // Mar 1-15
    { 366,  368,  369,  371,  372,  373,  375,  376,  377,  384,  386,  388,  392,  360, 1440},   // Mar 16 on
    { 361,  358,  355,  352,  350,  346,  344,  340,  337,  330,  328,  312,  295,  265,    0},   // Apr 1-15
    { 357,  350,  342,  334,  329,  324,  317,  309,  300,  286,  269,  240,  190,    0,    0},   // Apr 16 on
    { 354,  344,  331,  318,  311,  302,  292,  280,  263,  242,  212,  160,    0,    0,    0},   // May 1-15
    { 353,  338,  323,  307,  297,  285,  273,  255,  233,  203,  157,    0,    0,    0,    0},   // May 16 on
    { 354,  537,  520,  298,  287,  273,  257,  237,  208,  171,    0,    0,    0,    0,    0},   // Jun 1-15
    { 357,  358,  320,  298,  284,  270,  252,  230,  200,  165,    0,    0,    0,    0,    0},   // Jun 16 on
    { 360,  342,  323,  302,  288,  273,  256,  234,  204,  160,    0,    0,    0,    0,    0},   // Jul 1-15
    { 362,  346,  328,  308,  297,  283,  266,  246,  220,  181,    0,    0,    0,    0,    0},   // Jul 16 on
    { 363,  349,  334,  317,  307,  297,  283,  267,  245,  218,  172,    0,    0,    0,    0},   // Aug 1-15
    { 361,  351,  339,  327,  318,  311,  300,  288,  273,  252,  233,  200,    0,    0,    0},   // Aug 16 on
    { 357,  351,  344,  336,  329,  325,  319,  312,  302,  290,  274,  245,  200,    0,    0},   // Sep 1-15
    { 353,  350,  347,  344,  342,  340,  338,  334,  330,  326,  319,  309,  292,  243,    0},   // Sep 16 on
    { 346,  348,  350,  353,  355,  356,  357,  359,  360,  362,  365,  370,  375,  385, 1440},   // Oct 1-15
    { 342,  348,  354,  362,  365,  370,  375,  381,  388,  397,  410,  430,  461, 1440, 1440},   // Oct 16 on
    { 340,  350,  360,  373,  379,  388,  397,  407,  420,  438,  463,  500, 1440, 1440, 1440},   // Nov 1-15
    { 340,  354,  369,  385,  394,  404,  412,  432,  450,  472,  515, 1440, 1440, 1440, 1440},   // Nov 16 on
    { 345,  360,  378,  397,  408,  421,  436,  455,  479,  513,  564, 1440, 1440, 1440, 1440},   // Dec 1-15
    { 352,  368,  387,  408,  420,  434,  451,  471,  498,  537, 1440, 1440, 1440, 1440, 1440},   // Dec 16 on
};

constexpr int16_t SUNSET[24][15] = {
    {1086, 1069, 1051, 1030, 1018, 1004,  988,  967,  942,  902,    0,    0,    0,    0,    0},   // Jan 1-15
    {1093, 1078, 1061, 1042, 1031, 1018, 1004,  985,  962,  930,  876,    0,    0,    0,    0},   // Jan 16 on
    {1098, 1085, 1071, 1056, 1047, 1038, 1025, 1011,  994,  971,  933,  874,    0,    0,    0},   // Feb 1-15
    {1098, 1089, 1079, 1068, 1062, 1056, 1047, 1037, 1025, 1009,  979,  950,  880,    0,    0},   // Feb 16 on
    {1096, 1091, 1085, 1078, 1075, 1070, 1065, 1059, 1052, 1043, 1028, 1008,  977,  900,    0},   // Mar 1-15
    {1092, 1091, 1090, 1088, 1087, 1086, 1085, 1084, 1083, 1081, 1078, 1072, 1066, 1050,    0},   // Mar 16 on
    {1090, 1090, 1090, 1090, 1092, 1092, 1092, 1093, 1094, 1095, 1095, 1095, 1098, 1200, 1440},   // Apr 1-15
    {1084, 1090, 1098, 1107, 1112, 1118, 1125, 1133, 1142, 1156, 1173, 1202, 1250, 1440, 1440},   // Apr 16 on
    {1080, 1091, 1103, 1116, 1119, 1133, 1143, 1156, 1171, 1191, 1220, 1271, 1440, 1440, 1440},   // May 1-15
    {1079, 1094, 1108, 1126, 1136, 1147, 1161, 1178, 1200, 1230, 1273, 1440, 1440, 1440, 1440},   // May 16 on
    {1081, 1097, 1115, 1135, 1147, 1162, 1178, 1199, 1225, 1264, 1440, 1440, 1440, 1440, 1440},   // Jun 1-15
    {1084, 1101, 1120, 1182, 1155, 1171, 1187, 1210, 1241, 1284, 1440, 1440, 1440, 1440, 1440},   // Jun 16 on
    {1087, 1104, 1123, 1185, 1157, 1193, 1191, 1213, 1243, 1286, 1440, 1440, 1440, 1440, 1440},   // Jul 1-15
    {1090, 1105, 1123, 1183, 1155, 1188, 1184, 1205, 1230, 1268, 1440, 1440, 1440, 1440, 1440},   // Jul 16 on
    {1090, 1103, 1118, 1134, 1144, 1176, 1167, 1185, 1205, 1235, 1283, 1440, 1440, 1440, 1440},   // Aug 1-15
    {1088, 1098, 1109, 1122, 1129, 1138, 1147, 1160, 1135, 1155, 1229, 1280, 1440, 1440, 1440},   // Aug 16 on
    {1083, 1090, 1096, 1105, 1109, 1115, 1121, 1128, 1156, 1149, 1170, 1195, 1245, 1330, 1440},   // Sep 1-15
    {1078, 1081, 1083, 1086, 1088, 1090, 1093, 1095, 1098, 1103, 1112, 1123, 1140, 1220, 1440},   // Sep 16 on
    {1073, 1072, 1070, 1068, 1067, 1065, 1064, 1063, 1060, 1057, 1055, 1050, 1042,  997,    0},   // Oct 1-15
    {1068, 1063, 1057, 1050, 1046, 1042, 1037, 1031, 1024, 1014, 1004,  984,  954,    0,    0},   // Oct 16 on
    {1067, 1057, 1046, 1034, 1027, 1019, 1011,  999,  986,  968,  945,  906,    0,    0,    0},   // Nov 1-15
    {1067, 1055, 1040, 1024, 1015, 1005,  992,  977,  957,  932,  897,    0,    0,    0,    0},   // Nov 16 on
    {1072, 1056, 1039, 1020, 1009,  996,  981,  962,  938,  905,    0,    0,    0,    0,    0},   // Dec 1-15
    {1078, 1061, 1043, 1022, 1009,  995,  978,  958,  931,  893,    0,    0,    0,    0,    0},   // Dec 16 on
};

// Length of twilight in minutes, by month and twilight band (0: below 30
// degrees; 1: 30 to 40; 2-11: from 40 degrees, every 5).
constexpr int16_t TWILIGHT[12][12] = {
    {  73,   83,   95,  103,  115,  132,  156,    0,    0,    0,    0,    0},   // Jan
    {  69,   81,   91,   99,  109,  124,  144,  176,  235,    0,    0,    0},   // Feb
    {  69,   81,   91,  100,  111,  126,  150,  185,  249,  300,    0,    0},   // Mar
    {  70,   85,   95,  110,  127,  155,  200, 1440, 1440, 1440, 1440, 1440},   // Apr
    {  71,   90,  111,  125,  175, 1440, 1440, 1440, 1440, 1440, 1440, 1440},   // May
    {  73,   95,  121,  147, 1440, 1440, 1440, 1440, 1440, 1440, 1440, 1440},   // Jun
    {  73,   94,  116,  140,  185, 1440, 1440, 1440, 1440, 1440, 1440, 1440},   // Jul
    {  71,   86,  104,  129,  142,  200, 1440, 1440, 1440, 1440, 1440, 1440},   // Aug
    {  69,   81,   95,  104,  116,  137,  168,  210, 1440, 1440, 1440, 1440},   // Sep
    {  69,   80,   92,  100,  110,  123,  142,  175,  215,  295, 1440, 1440},   // Oct
    {  73,   83,   95,  103,  115,  127,  151,  193,  280,    0,    0,    0},   // Nov
    {  75,   86,   97,  107,  119,  135,  163,  222,    0,    0,    0,    0},   // Dec
};

// Minutes added to sunrise and sunset south of the equator, by the month
// shifted half a year.
constexpr int16_t SOUTHERN_CORRECTION[12] = {3, 10, 14, 15, 11, 5, -3, -9, -14, -15, -11, -5};

// Days of the months; the light takes no account of leap years.
constexpr int32_t MONTH_DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The month folded into 1-12 (13 is January, 0 December).
int32_t FoldMonth(int32_t month)
{
    return ((month - 1) % 12 + 12) % 12 + 1;
}

int32_t NextMonth(int32_t month)
{
    return month == 12 ? 1 : month + 1;
}

int32_t PreviousMonth(int32_t month)
{
    return month == 1 ? 12 : month - 1;
}

// Moves whole units of `low` (each `size` of them) into `high` until low
// lies in [0, size).
void Carry(int32_t& low, int32_t& high, int32_t size)
{
    while (low >= size) {
        low -= size;
        ++high;
    }
    while (low < 0) {
        low += size;
        --high;
    }
}

} // namespace

bool Environment::Save(std::ostream& out) const
{
    if (!weather) {
        SaveField(out, uint8_t{0});   // no grid: flag and kind both 0
        SaveField(out, uint8_t{0});
        return true;
    }
    SaveField(out, weatherFlag);
    weather->Save(out);
    return true;
}

bool Environment::Load(std::istream& in)
{
    return Load(in, gAdmin != nullptr ? gAdmin->GetFileVersion() : VersionNumber());
}

bool Environment::Load(std::istream& in, const VersionNumber& fileVersion)
{
    const bool beforeGridKind = fileVersion < GridKindVersion();
    uint8_t flag = 0;
    uint8_t kind = 0;
    LoadField(in, flag);
    if (!beforeGridKind)
        LoadField(in, kind);
    if (!in)
        return false;
    if (flag == 0) {
        weather.reset();
        weatherFlag = 0;
        return true;
    }
    if (gMap == nullptr) {
        FatalError("Environment::Load: gMap == NULL");
        in.setstate(std::ios::failbit);
        return false;
    }

    auto grid = std::make_unique<Weather>(gMap->Get_LatLonRect(), kind);
    if (!grid->Load(in))
        return false;   // the stream is failed; the environment keeps what it had
    if (beforeGridKind)
        grid->Update(true);   // older files saved the grid before its first step
    weather = std::move(grid);
    weatherFlag = flag;
    return true;
}

WeatherReport Environment::GetWeather(const LatLonPoint& point) const
{
    if (gMap == nullptr || !gMap->Is_On_Map(point)) {
        ReportWeatherText(WeatherText::OFF_MAP, &ErrorBox);
        return WeatherReport();
    }
    return weather ? weather->GetWeather(point) : WeatherReport();
}

void Environment::SetDisturbance(int32_t row, int32_t column, int8_t trend)
{
    if (weather)
        weather->SetDisturbance(row, column, trend);
}

bool Environment::Update()
{
    if (weather) {
        weather->Update(updateRequest != 0);
        updateRequest = 0;
    }
    return false;
}

void Environment::Draw(XYRect view, uint32_t flags) const
{
    if (!weather || gMap == nullptr || (flags & (DRAW_SEA_STATE | DRAW_CLOUDS | DRAW_WEATHER)) == 0)
        return;
    const LatLonRect area = gMap->Get_View_LatLonRect(view);
    if (flags & DRAW_SEA_STATE)
        weather->DrawSeaStates(area);
    if (flags & DRAW_CLOUDS)
        weather->DrawClouds(area);
    if (flags & DRAW_WEATHER)
        weather->DrawWeather(area);
}

GameClockRecord Environment::ToLocalTime(GameClockRecord record, int32_t longitude)
{
    // East of the meridian the sun is ahead: local time is later.
    const int32_t offset = longitude / ANGLE_PER_TIME_SECOND;   // seconds, towards zero
    int32_t second = int32_t{record.second} + (offset % 3600) % 60;
    int32_t minute = int32_t{record.minute} + (offset % 3600) / 60;
    int32_t hour = int32_t{record.hour} + offset / 3600;
    int32_t day = record.day;
    int32_t month = FoldMonth(record.month);

    Carry(second, minute, 60);
    Carry(minute, hour, 60);
    Carry(hour, day, 24);
    while (day > MONTH_DAYS[month - 1]) {
        day -= MONTH_DAYS[month - 1];
        month = NextMonth(month);
    }
    while (day < 1) {
        month = PreviousMonth(month);
        day += MONTH_DAYS[month - 1];
    }

    record.second = static_cast<uint8_t>(second);
    record.minute = static_cast<uint8_t>(minute);
    record.hour = static_cast<uint8_t>(hour);
    record.day = static_cast<uint8_t>(day);
    record.month = static_cast<uint8_t>(month);
    return record;
}

uint8_t Environment::GetLight(const LatLonPoint& point) const
{
    GameClockRecord clock;
    if (!gam2arena::GetGameDateTime(clock))
        return LIGHT_DAY;   // no date: the tables cannot be read
    const GameClockRecord local = ToLocalTime(clock, point.lon);
    const int32_t now = int32_t{local.hour} * 60 + local.minute;
    const int32_t month = local.month;   // 1-12 after ToLocalTime

    const bool south = point.lat < 0;
    int64_t latitude = std::llabs(int64_t{point.lat});
    if (latitude >= 90 * int64_t{ANGLE_PER_DEGREE})
        latitude = 89 * int64_t{ANGLE_PER_DEGREE};   // the pole takes the last band below it
    const int32_t degrees = static_cast<int32_t>(latitude / ANGLE_PER_DEGREE);
    const int32_t sunMonth = south ? (month + 6 > 12 ? month - 6 : month + 6) : month;

    const int32_t band = degrees < 30 ? degrees / 10 : degrees / 5 - 3;
    const int32_t halfMonth = (sunMonth - 1) * 2 + (local.day > 15 ? 1 : 0);
    int32_t sunrise = SUNRISE[halfMonth][band];
    int32_t sunset = SUNSET[halfMonth][band];
    if (south) {
        sunrise += SOUTHERN_CORRECTION[sunMonth - 1];
        sunset += SOUTHERN_CORRECTION[sunMonth - 1];
    }

    const int32_t twilightBand = degrees < 30 ? 0 : degrees < 40 ? 1 : degrees / 5 - 6;
    const int32_t twilight = TWILIGHT[month - 1][twilightBand];

    // Strict bounds: the minute of sunrise or sunset itself is night.
    if (sunrise - twilight < now && now < sunrise)
        return LIGHT_TWILIGHT;
    if (sunrise < now && now < sunset)
        return LIGHT_DAY;
    if (sunset < now && now < sunset + twilight)
        return LIGHT_TWILIGHT;
    return LIGHT_NIGHT;
}

Weather* Environment::SetUpWeather(const LatLonRect& area, uint8_t gridKind)
{
    weather = std::make_unique<Weather>(area, gridKind);
    weatherFlag = 1;
    return weather.get();
}
