// The rules of the online features: the page cuts, the city table and page names, the time reply and its
// conversion to UTC, and the statistics requests.
#include "nightcap/online/CityCodeTable.h"
#include "nightcap/online/NetworkTime.h"
#include "nightcap/online/Pinyin.h"
#include "nightcap/online/PinyinTable.h"
#include "nightcap/online/StatisticsRules.h"
#include "nightcap/online/TextCuts.h"
#include "nightcap/online/WeatherRules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include "common/ReleaseChannel.h"

using namespace nightcap;

namespace {

Bytes BytesFrom(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(TextBetween, CutsBetweenTheFirstOpenAndTheNextClose) {
    EXPECT_EQ(TextBetween("a[b]c[d]", "[", "]"), "b");
    EXPECT_EQ(TextBetween("温度：5度，湿度：8度", "湿度：", "度"), "8");
    EXPECT_EQ(TextBetween("a[b", "[", "]"), "");   // no close
    EXPECT_EQ(TextBetween("a[]b", "[", "]"), "");  // nothing between
    EXPECT_EQ(TextBetween("a[b]", "[", "b"), "");  // close right after open: nothing between
    EXPECT_EQ(TextBetween("", "[", "]"), "");
}

TEST(TextBetween, MissingOpenMarkerCutsFromItsLengthLessOne) {
    // A two-byte marker: from the start of the text.
    EXPECT_EQ(TextBetween("北京市 联通", "省", "市"), "北京");
    // A one-byte marker: position 0 lies outside the text.
    EXPECT_EQ(TextBetween("abc]", "[", "]"), "");
    // A longer marker: from its length less one.
    EXPECT_EQ(TextBetween("abcdef|", "xyz", "|"), "bcdef");
}

TEST(TextBetween, MatchesStartOnWholeCharacters) {
    // "\xCA\xD0" is 市; here it only appears across two characters (\xB4\xCA and \xD0\xA1).
    const std::string straddling = "省\xB4\xCA\xD0\xA1市";
    EXPECT_EQ(FindWholeCharacters(straddling, "\xCA\xD0"), 6u);
    EXPECT_EQ(TextBetween(straddling, "省", "市"), "\xB4\xCA\xD0\xA1");
    EXPECT_EQ(FindWholeCharacters("\xB0\xA1\xB0\xA1", "\xA1\xB0"), std::string::npos);
    EXPECT_EQ(FindLastWholeCharacters("x>y>\xB0>", ">"), 5u);  // ">" is never a second byte
    // A lone lead byte at the end neither matches a two-byte needle nor reads past the text.
    EXPECT_EQ(FindWholeCharacters("ab\xB0", "\xB0\xA1"), std::string::npos);
    EXPECT_EQ(FindWholeCharacters("ab\xB0", "\xB0"), 2u);
}

TEST(IpPage, CityFromTheLocation) {
    EXPECT_EQ(CityFromIpPage("<center>您的IP是：[1.2.3.4] 来自：广东省深圳市 电信</center>"), "深圳");
    EXPECT_EQ(CityFromIpPage("<center>您的IP是：[1.2.3.4] 来自：北京市 联通</center>"), "北京");
    EXPECT_EQ(CityFromIpPage(""), "");                                  // no network
    EXPECT_EQ(CityFromIpPage("<center>来自：未知地区</center>"), "");  // no 市
}

TEST(CityCodeTable, HoldsTheWholeTable) {
    const std::string table = kCityCodeTable;
    EXPECT_EQ(table.size(), 2759u);
    size_t entries = 0;
    for (size_t at = 0; (at = table.find('<', at)) != std::string::npos; ++at) {
        ++entries;
        EXPECT_EQ(table[at + 10], '>') << at;
    }
    EXPECT_EQ(entries, 175u);
}

TEST(CityCodeTable, CodeOfTheFirstEntryContainingTheCity) {
    EXPECT_EQ(CityCodeOf("深圳"), "101280601");
    EXPECT_EQ(CityCodeOf("北京"), "101010100");
    EXPECT_EQ(CityCodeOf("安庆"), "101220601");   // the first entry
    EXPECT_EQ(CityCodeOf("仰光"), "108010100");   // the last
    EXPECT_EQ(CityCodeOf("山"), "101060901");     // 白山, before 保山, 黄山 ...
    EXPECT_EQ(CityCodeOf("江"), "101230509");     // 晋江
    EXPECT_EQ(CityCodeOf("纽约"), "");
    EXPECT_EQ(CityCodeOf(""), "");
    EXPECT_EQ(CityCodeOf("海"), "101301301");     // 北海: the code of its entry, not the bytes before 海
    EXPECT_EQ(CityCodeOf("<101"), "101220601");   // an occurrence across the marks still names an entry
    EXPECT_EQ(CityCodeOf("00>北京"), "101010100");
}

// The real pinyin of every city of the table.
const std::map<std::string, std::string> kRealPinyin = {
    {"安庆", "anqing"}, {"阿勒泰", "aletai"}, {"安康", "ankang"}, {"阿克苏", "akesu"}, {"白山", "baishan"},
    {"包头", "baotou"}, {"北海", "beihai"}, {"北京", "beijing"}, {"百色", "baise"}, {"保山", "baoshan"},
    {"长治", "changzhi"}, {"长春", "changchun"}, {"常州", "changzhou"}, {"昌都", "changdu"}, {"朝阳", "chaoyang"},
    {"常德", "changde"}, {"成都", "chengdu"}, {"重庆", "chongqing"}, {"长沙", "changsha"}, {"赤峰", "chifeng"},
    {"大同", "datong"}, {"大连", "dalian"}, {"东营", "dongying"}, {"大庆", "daqing"}, {"丹东", "dandong"},
    {"大理", "dali"}, {"敦煌", "dunhuang"}, {"鄂尔多斯", "eerduosi"}, {"恩施", "enshi"}, {"福州", "fuzhou"},
    {"阜阳", "fuyang"}, {"贵阳", "guiyang"}, {"桂林", "guilin"}, {"广州", "guangzhou"}, {"广元", "guangyuan"},
    {"呼和浩特", "huhehaote"}, {"哈密", "hami"}, {"黑河", "heihe"}, {"海拉尔", "hailaer"}, {"哈尔滨", "haerbin"},
    {"海口", "haikou"}, {"黄山", "huangshan"}, {"杭州", "hangzhou"}, {"邯郸", "handan"}, {"合肥", "hefei"},
    {"黄龙", "huanglong"}, {"汉中", "hanzhong"}, {"和田", "hetian"}, {"晋江", "jinjiang"}, {"锦州", "jinzhou"},
    {"景德镇", "jingdezhen"}, {"嘉峪关", "jiayuguan"}, {"井冈山", "jinggangshan"}, {"济宁", "jining"}, {"九江", "jiujiang"},
    {"佳木斯", "jiamusi"}, {"济南", "jinan"}, {"喀什", "kashi"}, {"昆明", "kunming"}, {"康定", "kangding"},
    {"克拉玛依", "kelamayi"}, {"库尔勒", "kuerle"}, {"库车", "kuche"}, {"兰州", "lanzhou"}, {"洛阳", "luoyang"},
    {"丽江", "lijiang"}, {"柳州", "liuzhou"}, {"泸州", "luzhou"}, {"连云港", "lianyungang"}, {"拉萨", "lasa"},
    {"牡丹江", "mudanjiang"}, {"满洲里", "manzhouli"}, {"绵阳", "mianyang"}, {"梅县", "meixian"}, {"漠河", "mohe"},
    {"南京", "nanjing"}, {"南充", "nanchong"}, {"南宁", "nanning"}, {"南阳", "nanyang"}, {"南通", "nantong"},
    {"南昌", "nanchang"}, {"宁波", "ningbo"}, {"攀枝花", "panzhihua"}, {"衢州", "quzhou"}, {"秦皇岛", "qinhuangdao"},
    {"庆阳", "qingyang"}, {"且末", "qiemo"}, {"齐齐哈尔", "qiqihaer"}, {"青岛", "qingdao"}, {"汕头", "shantou"},
    {"深圳", "shenzhen"}, {"石家庄", "shijiazhuang"}, {"三亚", "sanya"}, {"沈阳", "shenyang"}, {"上海", "shanghai"},
    {"铜仁", "tongren"}, {"塔城", "tacheng"}, {"腾冲", "tengchong"}, {"台州", "taizhou"}, {"天水", "tianshui"},
    {"天津", "tianjin"}, {"通辽", "tongliao"}, {"泰安", "taian"}, {"太原", "taiyuan"}, {"唐山", "tangshan"},
    {"威海", "weihai"}, {"武汉", "wuhan"}, {"梧州", "wuzhou"}, {"文山", "wenshan"}, {"无锡", "wuxi"}, {"潍坊", "weifang"},
    {"武夷山", "wuyishan"}, {"乌兰浩特", "wulanhaote"}, {"温州", "wenzhou"}, {"乌鲁木齐", "wulumuqi"}, {"万州", "wanzhou"},
    {"乌海", "wuhai"}, {"兴义", "xingyi"}, {"西昌", "xichang"}, {"厦门", "xiamen"}, {"香格里拉", "xianggelila"},
    {"西安", "xian"}, {"襄樊", "xiangfan"}, {"西宁", "xining"}, {"锡林浩特", "xilinhaote"}, {"徐州", "xuzhou"},
    {"义乌", "yiwu"}, {"永州", "yongzhou"}, {"榆林", "yulin"}, {"延安", "yanan"}, {"运城", "yuncheng"}, {"烟台", "yantai"},
    {"银川", "yinchuan"}, {"宜昌", "yichang"}, {"宜宾", "yibin"}, {"盐城", "yancheng"}, {"延吉", "yanji"},
    {"玉树", "yushu"}, {"伊宁", "yining"}, {"珠海", "zhuhai"}, {"埃德蒙顿", "aidemengdun"}, {"阿姆斯特丹", "amusitedan"},
    {"雅典", "yadian"}, {"曼谷", "mangu"}, {"柏林", "bolin"}, {"布鲁塞尔", "buluseer"}, {"开罗", "kailuo"},
    {"喀布尔", "kabuer"}, {"开普敦", "kaipudun"}, {"墨西哥城", "moxigecheng"}, {"哥本哈根", "gebenhagen"}, {"达喀尔", "dakaer"},
    {"日内瓦", "rineiwa"}, {"河内", "henei"}, {"伊斯兰堡", "yisilanbao"}, {"雅加达", "yajiada"}, {"吉隆坡", "jilongpo"},
    {"伦敦", "lundun"}, {"马德里", "madeli"}, {"莫斯科", "mosike"}, {"内罗毕", "neiluobi"}, {"新德里", "xindeli"},
    {"渥太华", "wotaihua"}, {"巴黎", "bali"}, {"平壤", "pingrang"}, {"罗马", "luoma"}, {"首尔", "shouer"},
    {"新加坡", "xinjiapo"}, {"卡萨布兰卡", "kasabulanka"}, {"德黑兰", "deheilan"}, {"乌兰巴托", "wulanbatuo"},
    {"维也纳", "weiyena"}, {"万象", "wanxiang"}, {"华盛顿特区", "huashengduntequ"}, {"仰光", "yangguang"},
};

TEST(AirQualityPageName, IsTheRealPinyinOfEveryCityOfTheTable) {
    const std::string table = kCityCodeTable;
    size_t checked = 0;
    for (size_t at = table.find('<'); at != std::string::npos;) {
        const size_t next = table.find('<', at + 1);
        const std::string name = table.substr(at + 11, next == std::string::npos ? std::string::npos : next - at - 11);
        const auto real = kRealPinyin.find(name);
        ASSERT_NE(real, kRealPinyin.end()) << name;
        EXPECT_EQ(AirQualityPageName(name), real->second) << real->second;
        ++checked;
        at = next;
    }
    EXPECT_EQ(checked, 175u);
}

TEST(AirQualityPageName, FirstReadingsOfOtherTexts) {
    EXPECT_EQ(AirQualityPageName("深圳"), "shenzhen");
    EXPECT_EQ(AirQualityPageName("乌鲁木齐"), "wulumuqi");
    EXPECT_EQ(AirQualityPageName("苏州"), "suzhou");  // not in the table
    // The first readings, which the city list corrects.
    EXPECT_EQ(FirstReadingPinyin("重庆"), "zhongqing");
    // Letters, digits, symbols, GBK's extension rows and a cut-off character give nothing.
    EXPECT_EQ(FirstReadingPinyin("A深1圳℃\x81\x40"), "shenzhen");
    EXPECT_EQ(FirstReadingPinyin("深\xB0"), "shen");
    EXPECT_EQ(FirstReadingPinyin("\xD7\xFA"), "");  // an empty cell of the last rows
    EXPECT_EQ(AirQualityPageName(""), "");
}

TEST(PinyinTable, EveryHanziHasAPlainReading) {
    int empty = 0;
    for (const char* reading : kGb2312FirstReadings) {
        const std::string text = reading;
        if (text.empty()) ++empty;
        for (char c : text) ASSERT_TRUE(c >= 'a' && c <= 'z') << text;  // no tone marks, no capitals
    }
    EXPECT_EQ(empty, 5);  // 0xD7FA..0xD7FE hold no character
    EXPECT_EQ(FirstReadingPinyin("绿女"), "lvnv");  // u with diaeresis is written v
    EXPECT_EQ(FirstReadingPinyin("啊齄"), "azha");   // the first and the last Hanzi
}

// The air-quality page: the part that starts at "数值单位" is as many bytes long as "AQI" stands from the
// start; the index follows the last ">" of that part, and is read from as many bytes as its last "</div>"
// stands from the part's start.
TEST(AirQualityPage, IndexFromTheCut) {
    // AQI at position 19: the part is "数值单位</div><b>85" (8 + 6 + 3 + 2 bytes).
    const std::string page = std::string(18, '.') + "AQI<div>数值单位</div><b>85</b> 更新于 10:00</div>";
    EXPECT_EQ(AirQualityIndexFromPage(page), 85);
    const std::string decimal = std::string(18, '.') + "AQI<div>数值单位</div><b>8.5</b> 更新于 10:00</div>";
    EXPECT_EQ(AirQualityIndexFromPage(decimal), 8);  // "8." read, truncated
    const std::string blanks = std::string(19, '.') + "AQI<div>数值单位</div><b> 42</b></div>";
    EXPECT_EQ(AirQualityIndexFromPage(blanks), 42);
    EXPECT_EQ(AirQualityIndexFromPage(""), 0);
    EXPECT_EQ(AirQualityIndexFromPage("数值单位</div><b>85"), 0);  // no AQI
    EXPECT_EQ(AirQualityIndexFromPage(std::string(18, '.') + "AQI<b>85</b></div>"), 0);  // no 数值单位
    const std::string noDiv = std::string(18, '.') + "AQI<div>数值单位<span><b>85</b> 更新于</div>";
    EXPECT_EQ(AirQualityIndexFromPage(noDiv), 0);  // no "</div>" in the part
}

TEST(WeatherData, WeatherAndRange) {
    const std::string data =
        "{\"weatherinfo\":{\"city\":\"北京\",\"cityid\":\"101010100\",\"temp1\":\"-2℃\",\"temp2\":\"-10℃\","
        "\"weather\":\"晴\",\"img1\":\"n0.gif\",\"img2\":\"d0.gif\",\"ptime\":\"18:00\"}}";
    const WeatherReport report = WeatherFromData(data);
    EXPECT_EQ(report.weather, "晴");
    EXPECT_EQ(report.temperatureRange, "-10℃--2℃");
    // The last member has no comma after it.
    const WeatherReport last = WeatherFromData("{\"temp1\":\"-2℃\",\"temp2\":\"-10℃\",\"weather\":\"晴\"}");
    EXPECT_EQ(last.weather, "");
    EXPECT_EQ(last.temperatureRange, "-10℃--2℃");
    const WeatherReport none = WeatherFromData("");
    EXPECT_EQ(none.weather, "");
    EXPECT_EQ(none.temperatureRange, "-");
}

TEST(AirQualityBand, SixBandsWithTheirColours) {
    struct Case {
        int index;
        const char* text;
        int r, g, b;
    } cases[] = {
        {-3, "空气质量：优质", 0, 174, 20},  {0, "空气质量：优质", 0, 174, 20},     {50, "空气质量：优质", 0, 174, 20},
        {51, "空气质量：良好", 234, 176, 0}, {100, "空气质量：良好", 234, 176, 0},  {101, "空气质量：轻度", 234, 121, 0},
        {150, "空气质量：轻度", 234, 121, 0}, {151, "空气质量：中度", 254, 60, 0},  {200, "空气质量：中度", 254, 60, 0},
        {201, "空气质量：重度", 197, 46, 0}, {300, "空气质量：重度", 197, 46, 0},   {301, "空气质量：严重", 138, 32, 0},
    };
    for (const Case& c : cases) {
        const AirQualityBand band = AirQualityBandOf(c.index);
        EXPECT_STREQ(band.text, c.text) << c.index;
        EXPECT_EQ(band.red, c.r) << c.index;
        EXPECT_EQ(band.green, c.g) << c.index;
        EXPECT_EQ(band.blue, c.b) << c.index;
    }
}

std::string TimeReply(const std::string& fields) {
    return "<?xml version=\"1.0\"?><ntsc><time>" + fields + "</time></ntsc>";
}

TEST(TimeReply, SixFieldsByTheirPaths) {
    const std::optional<ClockFields> t = ReadTimeReply(BytesFrom(TimeReply(
        "<year>2013</year><month>6</month><day>27</day><hour>3</hour><minite>10</minite><second>5</second>")));
    ASSERT_TRUE(t);
    EXPECT_EQ(*t, (ClockFields{2013, 6, 27, 3, 10, 5}));
    // Any root name and order; leading digits only.
    const std::optional<ClockFields> u = ReadTimeReply(BytesFrom(
        "<r><t><second>7s</second><minite>05</minite><hour>14</hour><day>1</day><month>2</month>"
        "<year>2020</year></t></r>"));
    ASSERT_TRUE(u);
    EXPECT_EQ(*u, (ClockFields{2020, 2, 1, 14, 5, 7}));
}

TEST(TimeReply, NothingWithoutADocumentOrAField) {
    EXPECT_FALSE(ReadTimeReply(Bytes(255, 0)));  // what a failed request gives
    EXPECT_FALSE(ReadTimeReply(Bytes()));
    EXPECT_FALSE(ReadTimeReply(BytesFrom("not xml at all")));
    EXPECT_FALSE(ReadTimeReply(BytesFrom(TimeReply(
        "<year>2013</year><month>6</month><day>27</day><hour>3</hour><minute>10</minute><second>5</second>"))));
    EXPECT_FALSE(ReadTimeReply(BytesFrom(
        "<r><year>2013</year><month>6</month><day>27</day><hour>3</hour><minite>1</minite><second>5</second></r>")));
}

TEST(BeijingToUtc, EightHoursBackWithCarries) {
    EXPECT_EQ(BeijingToUtc({2013, 6, 27, 3, 10, 5}), (ClockFields{2013, 6, 26, 19, 10, 5}));
    EXPECT_EQ(BeijingToUtc({2013, 1, 1, 7, 0, 0}), (ClockFields{2012, 12, 31, 23, 0, 0}));
    EXPECT_EQ(BeijingToUtc({2013, 6, 27, 14, 5, 7}), (ClockFields{2013, 6, 27, 6, 5, 7}));
    EXPECT_EQ(BeijingToUtc({2013, 6, 27, 8, 0, 0}), (ClockFields{2013, 6, 27, 0, 0, 0}));
    EXPECT_EQ(BeijingToUtc({2016, 3, 1, 5, 0, 0}), (ClockFields{2016, 2, 29, 21, 0, 0}));
    EXPECT_EQ(BeijingToUtc({2100, 3, 1, 0, 0, 59}), (ClockFields{2100, 2, 28, 16, 0, 59}));
    EXPECT_EQ(BeijingToUtc({2013, 5, 1, 0, 0, 0}), (ClockFields{2013, 4, 30, 16, 0, 0}));
}

TEST(BeijingToUtc, FieldsOutOfRangeLeaveTheClockAlone) {
    const ClockFields bad[] = {
        {2013, 0, 27, 3, 10, 5},  {2013, 13, 27, 3, 10, 5}, {2013, 6, 0, 3, 10, 5},  {2013, 6, 31, 3, 10, 5},
        {2013, 2, 29, 3, 10, 5},  {2013, 6, 27, 24, 0, 0},  {2013, 6, 27, 3, 60, 5}, {2013, 6, 27, 3, 10, 60},
        {0, 6, 27, 3, 10, 5},     {1601, 1, 1, 7, 0, 0},    {30828, 1, 1, 12, 0, 0},
    };
    for (const ClockFields& t : bad)
        EXPECT_FALSE(BeijingToUtc(t)) << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute
                                      << ":" << t.second;
    EXPECT_TRUE(BeijingToUtc({1601, 1, 1, 8, 0, 0}));
}

TEST(VersionCheck, OnlyTheExactVersionIsCurrent) {
    EXPECT_TRUE(VersionReplyIsCurrent("1.002"));
    EXPECT_FALSE(VersionReplyStartsUpdater("1.002"));
    for (const char* other : {"1.003", "1.001", "1.002\r\n", "1.002 ", "<html>error</html>"}) {
        EXPECT_FALSE(VersionReplyIsCurrent(other)) << other;
        EXPECT_TRUE(VersionReplyStartsUpdater(other)) << other;
    }
    // No reply at all (the failure value) is not a new version.
    EXPECT_FALSE(VersionReplyIsCurrent(""));
    EXPECT_FALSE(VersionReplyStartsUpdater(""));
    EXPECT_TRUE(PingReplyStartsUpdater("1"));
    for (const char* other : {"", "0", "1\r\n", "11", " 1"}) EXPECT_FALSE(PingReplyStartsUpdater(other)) << other;
}

TEST(InstallReport, FirstNonZeroAdapterAddress) {
    const AdapterAddress zero{}, first{0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC}, second{0x0A, 0, 0, 0, 0, 0x01};
    EXPECT_EQ(ReportedAdapterAddress({first, second}), "001122AABBCC");
    EXPECT_EQ(ReportedAdapterAddress({zero, second, first}), "0A0000000001");
    EXPECT_EQ(ReportedAdapterAddress({zero, zero}), "");
    EXPECT_EQ(ReportedAdapterAddress({}), "");
}

TEST(InstallReport, CheckValueAndRequest) {
    // MD5 of the 23 bytes "2001122AABBCC7QKRT#2HW%".
    EXPECT_EQ(InstallReportCheckValue("001122AABBCC"), "e65ef01f63c23f4e52d980babc88048e");
    EXPECT_EQ(InstallReportRequest("001122AABBCC"),
              "/pm/sd_mgr/pts/web/pm_usage.php?p_id=" NIGHTCAP_CHANNEL_PRODUCT_ID
              "&macAdd=001122AABBCC&chk=e65ef01f63c23f4e52d980babc88048e");
    EXPECT_EQ(InstallReportCheckValue(""), "2e72d32c676a7671935b1b67f3d0fad1");  // "2" and the salt
    EXPECT_EQ(std::string(kVersionCheckRequest),
              "/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=" NIGHTCAP_CHANNEL_PRODUCT_ID "&f_id=&RequestType=1");
    EXPECT_EQ(std::string(kUpdatePingRequest),
              "/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=" NIGHTCAP_CHANNEL_PRODUCT_ID "&RequestType=2");
}

}  // namespace
