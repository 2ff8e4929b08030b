#include "tools/sample/text.h"

#include <algorithm>
#include <cctype>

#include "platform/cp932.h"

namespace meridax::sample {
namespace {

bool IsLead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
}

// Full-width katakana, half-width reading, Latin letters.
constexpr const char* kSyllables[][3] = {
    {"ア", "ｱ", "a"},   {"イ", "ｲ", "i"},   {"ウ", "ｳ", "u"},   {"エ", "ｴ", "e"},
    {"オ", "ｵ", "o"},   {"カ", "ｶ", "ka"},  {"キ", "ｷ", "ki"},  {"ク", "ｸ", "ku"},
    {"ケ", "ｹ", "ke"},  {"コ", "ｺ", "ko"},  {"サ", "ｻ", "sa"},  {"シ", "ｼ", "shi"},
    {"ス", "ｽ", "su"},  {"セ", "ｾ", "se"},  {"ソ", "ｿ", "so"},  {"タ", "ﾀ", "ta"},
    {"チ", "ﾁ", "chi"}, {"ツ", "ﾂ", "tsu"}, {"テ", "ﾃ", "te"},  {"ト", "ﾄ", "to"},
    {"ナ", "ﾅ", "na"},  {"ニ", "ﾆ", "ni"},  {"ネ", "ﾈ", "ne"},  {"ノ", "ﾉ", "no"},
    {"ハ", "ﾊ", "ha"},  {"ヒ", "ﾋ", "hi"},  {"フ", "ﾌ", "fu"},  {"ヘ", "ﾍ", "he"},
    {"ホ", "ﾎ", "ho"},  {"マ", "ﾏ", "ma"},  {"ミ", "ﾐ", "mi"},  {"ム", "ﾑ", "mu"},
    {"メ", "ﾒ", "me"},  {"モ", "ﾓ", "mo"},  {"ヤ", "ﾔ", "ya"},  {"ユ", "ﾕ", "yu"},
    {"ヨ", "ﾖ", "yo"},  {"ラ", "ﾗ", "ra"},  {"リ", "ﾘ", "ri"},  {"ル", "ﾙ", "ru"},
    {"レ", "ﾚ", "re"},  {"ロ", "ﾛ", "ro"},  {"ワ", "ﾜ", "wa"},  {"ン", "ﾝ", "n"},
    {"ガ", "ｶﾞ", "ga"}, {"ギ", "ｷﾞ", "gi"}, {"グ", "ｸﾞ", "gu"}, {"ゲ", "ｹﾞ", "ge"},
    {"ゴ", "ｺﾞ", "go"}, {"ザ", "ｻﾞ", "za"}, {"ジ", "ｼﾞ", "ji"}, {"ズ", "ｽﾞ", "zu"},
    {"ゼ", "ｾﾞ", "ze"}, {"ゾ", "ｿﾞ", "zo"}, {"ダ", "ﾀﾞ", "da"}, {"デ", "ﾃﾞ", "de"},
    {"ド", "ﾄﾞ", "do"}, {"バ", "ﾊﾞ", "ba"}, {"ビ", "ﾋﾞ", "bi"}, {"ブ", "ﾌﾞ", "bu"},
    {"ベ", "ﾍﾞ", "be"}, {"ボ", "ﾎﾞ", "bo"}, {"パ", "ﾊﾟ", "pa"}, {"ピ", "ﾋﾟ", "pi"},
    {"プ", "ﾌﾟ", "pu"}, {"ペ", "ﾍﾟ", "pe"}, {"ポ", "ﾎﾟ", "po"}, {"ヴ", "ｳﾞ", "vu"},
};

// Family names, with the extension codes real registers carry (IBM and NEC forms).
constexpr const char* kFamilies[][3] = {
    {"佐藤", "ｻﾄｳ", "Sato"},
    {"鈴木", "ｽｽﾞｷ", "Suzuki"},
    {"高橋", "ﾀｶﾊｼ", "Takahashi"},
    {"髙橋", "ﾀｶﾊｼ", "Takahashi"},
    {"{EEE0}木", "ﾀｶｷﾞ", "Takagi"},
    {"田中", "ﾀﾅｶ", "Tanaka"},
    {"渡辺", "ﾜﾀﾅﾍﾞ", "Watanabe"},
    {"伊藤", "ｲﾄｳ", "Ito"},
    {"山本", "ﾔﾏﾓﾄ", "Yamamoto"},
    {"中村", "ﾅｶﾑﾗ", "Nakamura"},
    {"小林", "ｺﾊﾞﾔｼ", "Kobayashi"},
    {"加藤", "ｶﾄｳ", "Kato"},
    {"吉田", "ﾖｼﾀﾞ", "Yoshida"},
    {"山田", "ﾔﾏﾀﾞ", "Yamada"},
    {"佐々木", "ｻｻｷ", "Sasaki"},
    {"山口", "ﾔﾏｸﾞﾁ", "Yamaguchi"},
    {"松本", "ﾏﾂﾓﾄ", "Matsumoto"},
    {"井上", "ｲﾉｳｴ", "Inoue"},
    {"木村", "ｷﾑﾗ", "Kimura"},
    {"林", "ﾊﾔｼ", "Hayashi"},
    {"清水", "ｼﾐｽﾞ", "Shimizu"},
    {"山﨑", "ﾔﾏｻﾞｷ", "Yamazaki"},
    {"宮{ED95}", "ﾐﾔｻﾞｷ", "Miyazaki"},
    {"森", "ﾓﾘ", "Mori"},
    {"池田", "ｲｹﾀﾞ", "Ikeda"},
    {"橋本", "ﾊｼﾓﾄ", "Hashimoto"},
    {"阿部", "ｱﾍﾞ", "Abe"},
    {"石川", "ｲｼｶﾜ", "Ishikawa"},
    {"前田", "ﾏｴﾀﾞ", "Maeda"},
    {"藤田", "ﾌｼﾞﾀ", "Fujita"},
    {"長谷川", "ﾊｾｶﾞﾜ", "Hasegawa"},
    {"村上", "ﾑﾗｶﾐ", "Murakami"},
    {"近藤", "ｺﾝﾄﾞｳ", "Kondo"},
    {"坂本", "ｻｶﾓﾄ", "Sakamoto"},
    {"遠藤", "ｴﾝﾄﾞｳ", "Endo"},
    {"青木", "ｱｵｷ", "Aoki"},
    {"藤井", "ﾌｼﾞｲ", "Fujii"},
    {"西村", "ﾆｼﾑﾗ", "Nishimura"},
    {"福田", "ﾌｸﾀﾞ", "Fukuda"},
    {"三浦", "ﾐｳﾗ", "Miura"},
    {"岡本", "ｵｶﾓﾄ", "Okamoto"},
    {"松田", "ﾏﾂﾀﾞ", "Matsuda"},
    {"中川", "ﾅｶｶﾞﾜ", "Nakagawa"},
    {"原田", "ﾊﾗﾀﾞ", "Harada"},
    {"小野", "ｵﾉ", "Ono"},
    {"竹内", "ﾀｹｳﾁ", "Takeuchi"},
    {"金子", "ｶﾈｺ", "Kaneko"},
    {"和田", "ﾜﾀﾞ", "Wada"},
    {"中山", "ﾅｶﾔﾏ", "Nakayama"},
    {"柴田", "ｼﾊﾞﾀ", "Shibata"},
    {"横山", "ﾖｺﾔﾏ", "Yokoyama"},
    {"宮本", "ﾐﾔﾓﾄ", "Miyamoto"},
    {"安藤", "ｱﾝﾄﾞｳ", "Ando"},
    {"丸山", "ﾏﾙﾔﾏ", "Maruyama"},
    {"菅原", "ｽｶﾞﾜﾗ", "Sugawara"},
    {"武田", "ﾀｹﾀﾞ", "Takeda"},
    {"德永", "ﾄｸﾅｶﾞ", "Tokunaga"},
    {"{ED9E}田", "ﾄｸﾀﾞ", "Tokuda"},
    {"國分", "ｺｸﾌﾞﾝ", "Kokubun"},
    {"柄本", "ﾂｶﾓﾄ", "Tsukamoto"},
    {"鮫島", "ｻﾒｼﾞﾏ", "Samejima"},
    {"蛯名", "ｴﾋﾞﾅ", "Ebina"},
    {"勝浦", "ｶﾂｳﾗ", "Katsuura"},
    {"秋山", "ｱｷﾔﾏ", "Akiyama"},
};

constexpr const char* kGivens[][3] = {
    {"太郎", "ﾀﾛｳ", "Taro"},
    {"一郎", "ｲﾁﾛｳ", "Ichiro"},
    {"健太", "ｹﾝﾀ", "Kenta"},
    {"翔太", "ｼｮｳﾀ", "Shota"},
    {"大輔", "ﾀﾞｲｽｹ", "Daisuke"},
    {"拓也", "ﾀｸﾔ", "Takuya"},
    {"誠", "ﾏｺﾄ", "Makoto"},
    {"豊", "ﾕﾀｶ", "Yutaka"},
    {"勝", "ﾏｻﾙ", "Masaru"},
    {"隆", "ﾀｶｼ", "Takashi"},
    {"浩二", "ｺｳｼﾞ", "Koji"},
    {"裕介", "ﾕｳｽｹ", "Yusuke"},
    {"優", "ﾕｳ", "Yu"},
    {"亮", "ﾘｮｳ", "Ryo"},
    {"雄一", "ﾕｳｲﾁ", "Yuichi"},
    {"典弘", "ﾉﾘﾋﾛ", "Norihiro"},
    {"幸四郎", "ｺｳｼﾛｳ", "Koshiro"},
    {"美香", "ﾐｶ", "Mika"},
    {"奈々", "ﾅﾅ", "Nana"},
    {"恵", "ﾒｸﾞﾐ", "Megumi"},
    {"修", "ｵｻﾑ", "Osamu"},
    {"正和", "ﾏｻｶｽﾞ", "Masakazu"},
    {"英昭", "ﾋﾃﾞｱｷ", "Hideaki"},
    {"康太", "ｺｳﾀ", "Kota"},
    {"和生", "ｶｽﾞｵ", "Kazuo"},
    {"茂", "ｼｹﾞﾙ", "Shigeru"},
    {"博", "ﾋﾛｼ", "Hiroshi"},
    {"秀樹", "ﾋﾃﾞｷ", "Hideki"},
    {"菜七子", "ﾅﾅｺ", "Nanako"},
    {"瑠星", "ﾘｭｳｾｲ", "Ryusei"},
    {"琇平", "ｼｭｳﾍｲ", "Shuhei"},
    {"祐一", "ﾕｳｲﾁ", "Yuichi"},
    {"将雅", "ﾏｻﾏｻ", "Masamasa"},
    {"泰彦", "ﾔｽﾋｺ", "Yasuhiko"},
    {"弘和", "ﾋﾛｶｽﾞ", "Hirokazu"},
    {"美里", "ﾐｻﾄ", "Misato"},
};

// Words for farms, companies and races.
constexpr const char* kWords[][3] = {
    {"北星", "ﾎｸｾｲ", "Hokusei"},    {"白樺", "ｼﾗｶﾊﾞ", "Shirakaba"}, {"青葉", "ｱｵﾊﾞ", "Aoba"},
    {"朝日", "ｱｻﾋ", "Asahi"},       {"大地", "ﾀﾞｲﾁ", "Daichi"},     {"錦", "ﾆｼｷ", "Nishiki"},
    {"桜花", "ｵｳｶ", "Oka"},         {"紫苑", "ｼｵﾝ", "Shion"},       {"若駒", "ﾜｶｺﾞﾏ", "Wakagoma"},
    {"翠", "ﾐﾄﾞﾘ", "Midori"},       {"雅", "ﾐﾔﾋﾞ", "Miyabi"},       {"光", "ﾋｶﾘ", "Hikari"},
    {"富士", "ﾌｼﾞ", "Fuji"},        {"晴空", "ｾｲｸｳ", "Seiku"},      {"流星", "ﾘｭｳｾｲ", "Ryusei"},
    {"千歳", "ﾁﾄｾ", "Chitose"},     {"浜風", "ﾊﾏｶｾﾞ", "Hamakaze"},  {"松風", "ﾏﾂｶｾﾞ", "Matsukaze"},
    {"黒潮", "ｸﾛｼｵ", "Kuroshio"},   {"天馬", "ﾃﾝﾏ", "Tenma"},       {"銀河", "ｷﾞﾝｶﾞ", "Ginga"},
    {"白馬", "ﾊｸﾊﾞ", "Hakuba"},     {"若葉", "ﾜｶﾊﾞ", "Wakaba"},     {"白梅", "ｼﾗｳﾒ", "Shiraume"},
    {"春雷", "ｼｭﾝﾗｲ", "Shunrai"},   {"秋風", "ｱｷｶｾﾞ", "Akikaze"},   {"初霜", "ﾊﾂｼﾓ", "Hatsushimo"},
    {"霜月", "ｼﾓﾂｷ", "Shimotsuki"}, {"睦月", "ﾑﾂｷ", "Mutsuki"},     {"如月", "ｷｻﾗｷﾞ", "Kisaragi"},
    {"弥生", "ﾔﾖｲ", "Yayoi"},       {"卯月", "ｳﾂﾞｷ", "Uzuki"},      {"文月", "ﾌﾐﾂﾞｷ", "Fumizuki"},
    {"北斗", "ﾎｸﾄ", "Hokuto"},      {"銀嶺", "ｷﾞﾝﾚｲ", "Ginrei"},    {"朱雀", "ｽｻﾞｸ", "Suzaku"},
    {"玄武", "ｹﾞﾝﾌﾞ", "Genbu"},     {"鳳凰", "ﾎｳｵｳ", "Hoo"},        {"麒麟", "ｷﾘﾝ", "Kirin"},
    {"瑞穂", "ﾐｽﾞﾎ", "Mizuho"},     {"岬", "ﾐｻｷ", "Misaki"},        {"桔梗", "ｷｷｮｳ", "Kikyo"},
};

constexpr const char* kRaceSuffixes[][3] = {
    {"ステークス", "ｽﾃｰｸｽ", " Stakes"}, {"特別", "ﾄｸﾍﾞﾂ", " Tokubetsu"}, {"賞", "ｼｮｳ", " Sho"},
    {"カップ", "ｶｯﾌﾟ", " Cup"},         {"記念", "ｷﾈﾝ", " Kinen"},       {"杯", "ﾊｲ", " Hai"},
};
constexpr const char* kJumpSuffixes[][3] = {
    {"ジャンプステークス", "ｼﾞｬﾝﾌﾟｽﾃｰｸｽ", " Jump Stakes"},
    {"障害特別", "ｼｮｳｶﾞｲﾄｸﾍﾞﾂ", " Hurdle"},
    {"大障害", "ﾀﾞｲｼｮｳｶﾞｲ", " Grand Jump"},
};
constexpr const char* kCompanySuffixes[][3] = {
    {"ホールディングス", "ﾎｰﾙﾃﾞｨﾝｸﾞｽ", " Holdings"},
    {"レーシング", "ﾚｰｼﾝｸﾞ", " Racing"},
    {"ファーム", "ﾌｧｰﾑ", " Farm"},
    {"サラブレッドクラブ", "ｻﾗﾌﾞﾚｯﾄﾞｸﾗﾌﾞ", " Thoroughbred Club"},
    {"商事", "ｼｮｳｼﾞ", " Shoji"},
    {"ターフ", "ﾀｰﾌ", " Turf"},
};

constexpr const char* kPlaces[] = {
    "日高町", "新冠町",   "浦河町", "新ひだか町", "様似町", "えりも町", "むかわ町",
    "平取町", "千歳市",   "安平町", "洞爺湖町",   "伊達市", "白老町",   "苫小牧市",
    "登別市", "鹿児島県", "青森県", "岩手県",     "宮崎県", "熊本県",   "茨城県",
};
constexpr const char* kCountries[] = {
    "アメリカ",         "イギリス", "アイルランド", "フランス",     "オーストラリア",
    "ニュージーランド", "ドイツ",   "カナダ",       "アルゼンチン", "南アフリカ",
};
constexpr const char* kPrefectures[] = {
    "北海道沙流郡日高町", "北海道新冠郡新冠町", "北海道浦河郡浦河町", "北海道日高郡新ひだか町",
    "北海道勇払郡安平町", "北海道千歳市",       "東京都港区",         "大阪府大阪市北区",
    "愛知県名古屋市中区", "福岡県福岡市博多区", "鹿児島県曽於市",     "茨城県稲敷郡美浦村",
    "滋賀県栗東市",       "兵庫県神戸市中央区",
};
constexpr const char* kColours[] = {
    "赤", "青", "黄", "緑", "紫", "白", "黒", "桃", "水色", "茶", "海老", "薄紫", "緑",
};
constexpr const char* kPatterns[] = {
    "襷", "一本輪", "縦縞", "山形一本輪", "星散らし", "菱山形", "玉霰", "元禄", "帯", "二本輪",
};
constexpr const char* kOrganizers[] = {
    "日高軽種馬生産振興会", "北海道サラブレッド市場協会", "九州軽種馬協会",
    "東日本軽種馬協議会",   "胆振軽種馬農業協同組合",
};
constexpr const char* kMarketKinds[] = {
    "当歳市場", "セレクションセール", "サマーセール", "オータムセール", "トレーニングセール",
};

}  // namespace

std::string Cp(std::string_view utf8) {
  std::string out;
  std::size_t start = 0;
  while (start < utf8.size()) {
    const std::size_t brace = utf8.find('{', start);
    const std::size_t end = brace == std::string_view::npos ? utf8.size() : brace;
    out += Utf8ToCp932(utf8.substr(start, end - start));
    if (brace == std::string_view::npos) break;
    const std::string_view code = utf8.substr(brace + 1, 4);
    out += static_cast<char>(Hex(code[0]) * 16 + Hex(code[1]));
    out += static_cast<char>(Hex(code[2]) * 16 + Hex(code[3]));
    start = brace + 6;
  }
  return out;
}

std::string FitBytes(std::string_view cp932, std::size_t width) {
  std::size_t i = 0;
  while (i < cp932.size()) {
    const std::size_t step = IsLead(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
    if (i + step > width) break;
    i += step;
  }
  return std::string(cp932.substr(0, std::min(i, cp932.size())));
}

std::size_t CharCount(std::string_view cp932) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < cp932.size(); ++n) {
    i += IsLead(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
  }
  return n;
}

const NameMaker& NameMaker::Get() {
  static const NameMaker maker;
  return maker;
}

NameMaker::NameMaker() {
  for (const auto& s : kSyllables) syllables_.push_back({Cp(s[0]), Cp(s[1]), s[2]});
  longMark_ = {Cp("ー"), Cp("ｰ"), ""};
  auto words = [](const auto& table, std::vector<Word>& out) {
    for (const auto& w : table) out.push_back({Cp(w[0]), Cp(w[1]), w[2]});
  };
  words(kFamilies, families_);
  words(kGivens, givens_);
  words(kWords, words_);
  words(kRaceSuffixes, raceSuffixes_);
  words(kJumpSuffixes, jumpSuffixes_);
  words(kCompanySuffixes, companySuffixes_);
  for (const char* p : kPlaces) places_.push_back(Cp(p));
  for (const char* p : kCountries) countries_.push_back(Cp(p));
  for (const char* p : kPrefectures) prefectures_.push_back(Cp(p));
  for (const char* p : kColours) colours_.push_back(Cp(p));
  for (const char* p : kPatterns) patterns_.push_back(Cp(p));
  for (const char* p : kOrganizers) organizers_.push_back(Cp(p));
  for (const char* p : kMarketKinds) marketKinds_.push_back(Cp(p));
  fullBlank_ = Cp("　");
  halfBlank_ = " ";
  dot_ = Cp("・");
  halfDot_ = Cp("･");
}

Name NameMaker::Syllables(Rng& rng, int count) const {
  Name n;
  bool lastWasMark = true;  // no long mark first
  for (int i = 0; i < count; ++i) {
    if (!lastWasMark && i + 1 < count && n.latin.back() != 'n' && rng.Chance(0.12)) {
      n.text += longMark_.full;
      n.kana += longMark_.half;
      lastWasMark = true;
      continue;
    }
    const Syllable* s = &rng.Pick(syllables_);
    if (i == 0 && s->latin == "n") s = &syllables_[0];  // no name starts with ン
    n.text += s->full;
    n.kana += s->half;
    std::string latin = s->latin;
    if (i == 0) latin[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(latin[0])));
    n.latin += latin;
    lastWasMark = false;
  }
  return n;
}

Name NameMaker::Horse(Rng& rng, int maxChars) const {
  return Syllables(rng, rng.Range(2, std::max(2, maxChars)));
}

Name NameMaker::HorseOfLength(Rng& rng, int chars) const {
  return Syllables(rng, chars);
}

PersonName NameMaker::Person(Rng& rng) const {
  const Word& f = rng.Pick(families_);
  const Word& g = rng.Pick(givens_);
  PersonName p;
  p.full.text = f.text + fullBlank_ + g.text;
  p.full.kana = f.kana + halfBlank_ + g.kana;
  p.full.latin = g.latin + " " + f.latin;
  // Short names are the family name and the first character of the given name.
  p.shortName = FitBytes(f.text + FitBytes(g.text, 2), 8);
  return p;
}

PersonName NameMaker::Foreign(Rng& rng, int chars, bool fill) const {
  const int total = fill ? chars : rng.Range(5, chars);
  const int given = std::max(2, (total - 1) / 2);
  const Name a = Syllables(rng, given);
  const Name b = Syllables(rng, total - 1 - given);
  PersonName p;
  p.full.text = a.text + dot_ + b.text;
  p.full.kana = a.kana + halfDot_ + b.kana;
  p.full.latin = a.latin + " " + b.latin;
  p.shortName = FitBytes(Cp("Ｆ．") + b.text, 8);
  return p;
}

Name NameMaker::Farm(Rng& rng, const PersonName& owner, bool corporate,
                     std::string* withForm) const {
  Name n;
  if (rng.Chance(0.5)) {
    const std::string family = owner.full.text.substr(0, owner.full.text.find(fullBlank_));
    const std::string kana = owner.full.kana.substr(0, owner.full.kana.find(' '));
    const std::string latin = owner.full.latin.substr(owner.full.latin.find(' ') + 1);
    n = {family + Cp("牧場"), kana + Cp("ﾎﾞｸｼﾞｮｳ"), latin + " Bokujo"};
  } else {
    const Word& w = rng.Pick(words_);
    n = {w.text + Cp("ファーム"), w.kana + Cp("ﾌｧｰﾑ"), w.latin + " Farm"};
  }
  if (withForm) {
    // The circled forms are extension characters of the code page.
    static const char* const kForms[] = {"㈲", "㈱", "有限会社", "株式会社"};
    *withForm = corporate ? Cp(kForms[rng.Below(4)]) + n.text : n.text;
  }
  return n;
}

Name NameMaker::Company(Rng& rng, std::string* withForm) const {
  const Word& w = rng.Pick(words_);
  const Word& s = rng.Pick(companySuffixes_);
  Name n{w.text + s.text, w.kana + s.kana, w.latin + s.latin};
  if (withForm) *withForm = (rng.Chance(0.5) ? Cp("㈱") : Cp("株式会社")) + n.text;
  return n;
}

Name NameMaker::Race(Rng& rng, bool jump) const {
  const Word& w = rng.Pick(words_);
  const Word& s = jump ? rng.Pick(jumpSuffixes_) : rng.Pick(raceSuffixes_);
  return {w.text + s.text, w.kana + s.kana, w.latin + s.latin};
}

std::string NameMaker::Birthplace(Rng& rng, bool abroad) const {
  return abroad ? rng.Pick(countries_) : rng.Pick(places_);
}

std::string NameMaker::Country(Rng& rng) const {
  return rng.Pick(countries_);
}

std::string NameMaker::Address(Rng& rng) const {
  return FitBytes(rng.Pick(prefectures_), 20);
}

std::string NameMaker::Silks(Rng& rng) const {
  std::string s = rng.Pick(colours_) + Cp("，") + rng.Pick(colours_) + rng.Pick(patterns_);
  if (rng.Chance(0.7)) s += Cp("，袖") + rng.Pick(colours_) + rng.Pick(patterns_);
  return FitBytes(s, 60);
}

std::string NameMaker::MarketOrganizer(int k) const {
  return organizers_[static_cast<std::size_t>(k) % organizers_.size()];
}

std::string NameMaker::MarketName(int k, int saleAge) const {
  const std::size_t kind = saleAge == 0   ? 0
                           : saleAge == 2 ? 4
                                          : 1 + static_cast<std::size_t>(k) % 3;
  const std::string region = places_[static_cast<std::size_t>(k) % 7];
  return FitBytes(region.substr(0, region.size() - 2) + marketKinds_[kind], 80);
}

}  // namespace meridax::sample
