// The configuration program's resources as the platform loads them from
// the built program: both dialog templates control by control, the about
// item's text, the icon and the pictures; and the two web pages beside it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

enum Kind {
  kEdit, kCheck, kMultiCheck, kRadio, kDefPush, kPush, kPicture, kSunkenPicture, kDisabledSunkenPicture,
  kText, kRightText, kGroup, kSunkenFrame, kGreyLine,
};

struct Rect {
  short x, y, cx, cy;
};

struct Item {
  int id;
  Kind kind;
  Rect rect;
  const wchar_t* text;
  int bitmap;  // a picture's bitmap, else 0
};

// The configuration dialog, template 102, in template order.
const Item kConfigItems[] = {
    {1000, kEdit, {47, 30, 21, 12}, L"", 0},
    {1002, kEdit, {85, 50, 21, 12}, L"", 0},
    {1063, kCheck, {38, 78, 90, 10}, L"释放额外的内存", 0},
    {1001, kEdit, {133, 76, 21, 12}, L"", 0},
    {1064, kCheck, {38, 90, 87, 10}, L"释放后内存达到", 0},
    {1024, kEdit, {133, 88, 21, 12}, L"", 0},
    {1010, kMultiCheck, {21, 106, 180, 13}, L"Windows 启动后运行 Velmora", 0},
    {1011, kMultiCheck, {21, 118, 185, 13}, L"隐藏运行 (无图标，仅自动释放)", 0},
    {1014, kMultiCheck, {21, 130, 181, 13}, L"自动释放内存时提示音", 0},
    {1023, kMultiCheck, {21, 142, 181, 13}, L"释放失败时下次继续释放", 0},
    {1003, kRadio, {33, 174, 11, 10}, L"", 0},
    {1004, kRadio, {33, 185, 11, 10}, L"", 0},
    {1005, kRadio, {33, 196, 11, 10}, L"", 0},
    {1009, kRadio, {59, 174, 11, 10}, L"", 0},
    {1019, kRadio, {59, 185, 11, 10}, L"", 0},
    {1020, kRadio, {59, 196, 11, 10}, L"", 0},
    {1006, kRadio, {90, 174, 38, 10}, L"MBytes", 0},
    {1007, kRadio, {90, 185, 37, 10}, L"Bytes", 0},
    {1016, kRadio, {143, 174, 47, 10}, L"当很低时", 0},
    {1017, kRadio, {143, 185, 47, 10}, L"从不", 0},
    {1018, kRadio, {143, 196, 46, 10}, L"始终", 0},
    {1, kDefPush, {14, 259, 44, 14}, L"确定", 0},
    {2, kPush, {60, 259, 44, 14}, L"取消", 0},
    {1008, kPush, {106, 259, 44, 14}, L"默认", 0},
    {1015, kPush, {152, 259, 44, 14}, L"帮助", 0},
    {-1, kSunkenPicture, {0, 0, 211, 25}, L"", 140},
    {1041, kText, {20, 33, 20, 8}, L"每隔 ", 0},
    {1044, kText, {74, 33, 51, 8}, L"秒刷新显示", 0},
    {1045, kText, {157, 78, 42, 8}, L"MByte(s)", 0},
    {1043, kText, {20, 52, 63, 9}, L"当 RAM 小于等于", 0},
    {1046, kText, {109, 52, 90, 8}, L"MByte 时自动释放内存", 0},
    {1012, kPicture, {20, 185, 11, 10}, L"", 132},
    {1013, kPicture, {20, 196, 11, 10}, L"", 133},
    {1049, kGroup, {79, 160, 54, 51}, L"资料单位", 0},
    {-1, kSunkenFrame, {10, 216, 190, 39}, L"", 0},
    {1047, kText, {15, 219, 179, 34}, L"Velmora 运行时在系统托盘处显示图标。你可以在这里选择设置，然后点击 \"确定\"。当 Velmora 运行时，你可以右击图标打开菜单，或者双击图标释放内存。", 0},
    {-1, kPicture, {20, 174, 11, 10}, L"", 131},
    {1050, kGroup, {133, 160, 66, 51}, L"碎片整理", 0},
    {-1, kPicture, {46, 174, 11, 10}, L"", 141},
    {1021, kPicture, {46, 185, 11, 10}, L"", 142},
    {1022, kPicture, {46, 196, 11, 10}, L"", 144},
    {1051, kGroup, {10, 160, 69, 51}, L"显示类型", 0},
    {1048, kText, {157, 90, 42, 8}, L"MByte(s)", 0},
    {1042, kText, {20, 67, 99, 8}, L"释放内存时:", 0},
};

// The help page, template 100, in template order.
const Item kHelpItems[] = {
    {1, kDefPush, {155, 260, 44, 14}, L"确定", 0},
    {-1, kDisabledSunkenPicture, {0, 0, 213, 26}, L"", 140},
    {-1, kSunkenFrame, {0, 27, 213, 228}, L"", 0},
    {1040, kText, {7, 32, 199, 8}, L"Velmora v1.6        01/05/2001", 0},
    {1037, kText, {14, 223, 183, 8}, L"- \"确定\" 保存设置并运行 Velmora。", 0},
    {1038, kText, {14, 232, 183, 8}, L"- \"取消\" 不保存退出或运行 Velmora。", 0},
    {1039, kText, {14, 241, 182, 8}, L"- \"默认\" 恢复程序的原始设置。", 0},
    {1025, kText, {7, 57, 138, 8}, L"刷新显示间隔:", 0},
    {1027, kText, {7, 67, 200, 18}, L"Velmora 运行时只占用很少的资源，所以刷新频率的多少不会产生什么问题。", 0},
    {1028, kText, {7, 118, 184, 8}, L"释放内存数/要达到的目标:", 0},
    {1030, kText, {7, 128, 201, 17}, L"释放内存需要时间，因此这个数字最好不要太大，你可以设置为比默认值小。", 0},
    {1031, kText, {7, 88, 200, 8}, L"当内存小于等于一定值时自动释放:", 0},
    {1033, kText, {7, 98, 194, 18}, L"这个值设定太高没有什么意义，在 1M - 5M 之间可以防止系统崩溃。", 0},
    {1036, kText, {8, 212, 77, 8}, L"按钮:", 0},
    {1023, kText, {7, 41, 120, 8}, L"帮助! - 选择配置时的提示", 0},
    {1024, kRightText, {127, 41, 80, 8}, L"最好的提示: 试验!", 0},
    {-1, kGreyLine, {6, 51, 202, 1}, L"", 0},
    {1034, kText, {8, 181, 97, 8}, L"碎片整理:", 0},
    {1035, kText, {7, 191, 194, 19}, L"这个设置确定 Velmora 是否整理内存碎片，推荐设置为 \"当很低时\"。", 0},
    {1019, kPush, {61, 260, 44, 14}, L"在线帮助", 0},
    {1020, kPush, {108, 260, 44, 14}, L"访问主页", 0},
    {1021, kPush, {14, 260, 44, 14}, L"Email", 0},
    {-1, kGreyLine, {7, 65, 202, 1}, L"", 0},
    {-1, kGreyLine, {7, 96, 202, 1}, L"", 0},
    {-1, kGreyLine, {7, 127, 202, 1}, L"", 0},
    {-1, kGreyLine, {7, 189, 202, 1}, L"", 0},
    {-1, kGreyLine, {7, 220, 202, 1}, L"", 0},
    {1041, kText, {7, 150, 190, 8}, L"释放失败时下次继续释放:", 0},
    {1042, kText, {7, 160, 194, 18}, L"如果没有选中此项，Velmora 在不能释放所要求的内存数时将减少释放频率。", 0},
    {-1, kGreyLine, {7, 158, 202, 1}, L"", 0},
};

// One control of a template as read from the resource.
struct Control {
  DWORD style = 0, exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;
  WORD classOrdinal = 0;  // 0x80 button, 0x81 edit, 0x82 static; 0 for a named class
  std::wstring text;
  WORD textOrdinal = 0;   // a resource ordinal instead of a text
};

struct Template {
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::wstring caption, font;
  WORD points = 0;
  bool extended = false, noMenu = false, defaultClass = false;
  std::vector<Control> controls;
};

// A string or an ordinal of a template; moves p past it.
void ReadTextOrOrdinal(const WORD*& p, std::wstring* text, WORD* ordinal) {
  if (*p == 0xFFFF) {
    *ordinal = p[1];
    p += 2;
    return;
  }
  while (*p != 0) text->push_back(static_cast<wchar_t>(*p++));
  ++p;
}

const WORD* AlignToDword(const WORD* p, const BYTE* base) {
  size_t offset = reinterpret_cast<const BYTE*>(p) - base;
  return reinterpret_cast<const WORD*>(base + ((offset + 3) & ~size_t{3}));
}

bool ReadTemplate(HMODULE module, int id, Template* t) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
  if (found == nullptr) return false;
  const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  if (base == nullptr) return false;
  const WORD* p = reinterpret_cast<const WORD*>(base);
  t->extended = p[0] == 1 && p[1] == 0xFFFF;
  if (!t->extended) return false;
  const DWORD* d = reinterpret_cast<const DWORD*>(p + 2);
  t->style = d[2];
  p = reinterpret_cast<const WORD*>(d + 3);
  WORD count = *p++;
  t->x = static_cast<short>(*p++);
  t->y = static_cast<short>(*p++);
  t->cx = static_cast<short>(*p++);
  t->cy = static_cast<short>(*p++);
  std::wstring menu, windowClass;
  WORD menuOrdinal = 0, classOrdinal = 0;
  ReadTextOrOrdinal(p, &menu, &menuOrdinal);
  ReadTextOrOrdinal(p, &windowClass, &classOrdinal);
  t->noMenu = menu.empty() && menuOrdinal == 0;
  t->defaultClass = windowClass.empty() && classOrdinal == 0;
  WORD unused = 0;
  ReadTextOrOrdinal(p, &t->caption, &unused);
  if (t->style & DS_SETFONT) {
    t->points = *p++;
    p += 2;  // weight, italic and character set
    ReadTextOrOrdinal(p, &t->font, &unused);
  }
  for (WORD i = 0; i < count; ++i) {
    p = AlignToDword(p, base);
    const DWORD* item = reinterpret_cast<const DWORD*>(p);
    Control c;
    c.exStyle = item[1];
    c.style = item[2];
    const short* r = reinterpret_cast<const short*>(item + 3);
    c.x = r[0];
    c.y = r[1];
    c.cx = r[2];
    c.cy = r[3];
    c.id = static_cast<int>(*reinterpret_cast<const DWORD*>(r + 4));
    p = reinterpret_cast<const WORD*>(r + 6);
    std::wstring className;
    ReadTextOrOrdinal(p, &className, &c.classOrdinal);
    // A class given by name counts as its ordinal.
    const struct {
      const wchar_t* name;
      WORD ordinal;
    } known[] = {{L"button", 0x80}, {L"edit", 0x81}, {L"static", 0x82}};
    for (const auto& k : known) {
      if (!className.empty() && lstrcmpiW(className.c_str(), k.name) == 0) c.classOrdinal = k.ordinal;
    }
    ReadTextOrOrdinal(p, &c.text, &c.textOrdinal);
    WORD extra = *p++;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
    t->controls.push_back(c);
  }
  return true;
}

// What each kind of control must have (and must not have) in its style.
struct KindRule {
  WORD classOrdinal;
  DWORD typeMask, type;  // the style's type bits
  DWORD on, off;         // further bits set and clear
};

KindRule RuleFor(Kind kind, bool helpPage) {
  const DWORD always = WS_CHILD | WS_VISIBLE;
  // Every text control of the help page starts a group.
  const DWORD textGroup = helpPage ? WS_GROUP : 0;
  switch (kind) {
    case kEdit: return {0x81, 0, 0, always | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, ES_NUMBER | WS_DISABLED};
    case kCheck: return {0x80, 0xF, BS_AUTOCHECKBOX, always | WS_TABSTOP, BS_MULTILINE | WS_DISABLED};
    case kMultiCheck: return {0x80, 0xF, BS_AUTOCHECKBOX, always | WS_TABSTOP | BS_MULTILINE, WS_DISABLED};
    case kRadio: return {0x80, 0xF, BS_AUTORADIOBUTTON, always | WS_GROUP, WS_TABSTOP | WS_DISABLED};
    case kDefPush: return {0x80, 0xF, BS_DEFPUSHBUTTON, always | WS_TABSTOP | textGroup, WS_DISABLED};
    case kPush: return {0x80, 0xF, BS_PUSHBUTTON, always | WS_TABSTOP, WS_DISABLED};
    case kPicture: return {0x82, SS_TYPEMASK, SS_BITMAP, always, SS_SUNKEN | SS_REALSIZECONTROL | WS_DISABLED};
    case kSunkenPicture: return {0x82, SS_TYPEMASK, SS_BITMAP, always | SS_SUNKEN, SS_REALSIZECONTROL | WS_DISABLED};
    case kDisabledSunkenPicture:
      return {0x82, SS_TYPEMASK, SS_BITMAP, always | SS_SUNKEN | WS_DISABLED, SS_REALSIZECONTROL};
    case kText: return {0x82, SS_TYPEMASK, SS_LEFT, always | textGroup, WS_DISABLED};
    case kRightText: return {0x82, SS_TYPEMASK, SS_RIGHT, always | textGroup, WS_DISABLED};
    case kGroup: return {0x80, 0xF, BS_GROUPBOX, always, WS_TABSTOP | WS_DISABLED};
    case kSunkenFrame: return {0x82, SS_TYPEMASK, SS_GRAYFRAME, always | SS_SUNKEN, WS_DISABLED};
    case kGreyLine: return {0x82, SS_TYPEMASK, SS_GRAYRECT, always, WS_DISABLED};
  }
  return {};
}

void ExpectControls(const Template& t, const Item* items, size_t count, bool helpPage) {
  ASSERT_EQ(t.controls.size(), count);
  for (size_t i = 0; i < count; ++i) {
    const Item& want = items[i];
    const Control& got = t.controls[i];
    KindRule rule = RuleFor(want.kind, helpPage);
    EXPECT_EQ(got.id, want.id) << "control " << i;
    EXPECT_EQ(got.classOrdinal, rule.classOrdinal) << "control " << i;
    EXPECT_EQ(got.style & rule.typeMask, rule.type) << "control " << i << " style " << std::hex << got.style;
    EXPECT_EQ(got.style & rule.on, rule.on) << "control " << i << " style " << std::hex << got.style;
    EXPECT_EQ(got.style & rule.off, 0u) << "control " << i << " style " << std::hex << got.style;
    EXPECT_EQ(got.x, want.rect.x) << "control " << i;
    EXPECT_EQ(got.y, want.rect.y) << "control " << i;
    EXPECT_EQ(got.cx, want.rect.cx) << "control " << i;
    EXPECT_EQ(got.cy, want.rect.cy) << "control " << i;
    EXPECT_EQ(got.text, want.text) << "control " << i;
    EXPECT_EQ(got.textOrdinal, want.bitmap) << "control " << i;
  }
}

class ConfigResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA(ProgramPath("VelmoraConfig.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
};

const DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
const DWORD kNoFrameBoxes = WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD;

TEST_F(ConfigResources, ConfigurationDialogTemplate) {
  Template t;
  ASSERT_TRUE(ReadTemplate(module_, 102, &t));
  EXPECT_EQ(t.style & (kDialogStyle | WS_VISIBLE), kDialogStyle | WS_VISIBLE) << std::hex << t.style;
  EXPECT_EQ(t.style & kNoFrameBoxes, 0u) << std::hex << t.style;
  EXPECT_EQ(t.x, 0);
  EXPECT_EQ(t.y, 0);
  EXPECT_EQ(t.cx, 211);
  EXPECT_EQ(t.cy, 278);
  EXPECT_TRUE(t.noMenu);
  EXPECT_TRUE(t.defaultClass);
  EXPECT_EQ(t.caption, L"Velmora 配置");
  EXPECT_EQ(t.points, 9);
  EXPECT_EQ(t.font, L"宋体");
  ExpectControls(t, kConfigItems, sizeof kConfigItems / sizeof kConfigItems[0], false);
}

TEST_F(ConfigResources, HelpPageTemplate) {
  Template t;
  ASSERT_TRUE(ReadTemplate(module_, 100, &t));
  EXPECT_EQ(t.style & kDialogStyle, kDialogStyle) << std::hex << t.style;
  EXPECT_EQ(t.style & (kNoFrameBoxes | WS_VISIBLE), 0u) << std::hex << t.style;
  EXPECT_EQ(t.cx, 213);
  EXPECT_EQ(t.cy, 278);
  EXPECT_TRUE(t.noMenu);
  EXPECT_TRUE(t.defaultClass);
  EXPECT_EQ(t.caption, L"Velmora 配置");
  EXPECT_EQ(t.points, 9);
  EXPECT_EQ(t.font, L"宋体");
  ExpectControls(t, kHelpItems, sizeof kHelpItems / sizeof kHelpItems[0], true);
}

TEST_F(ConfigResources, AboutItemText) {
  wchar_t text[64];
  wmemset(text, L'P', 64);
  ASSERT_GT(LoadStringW(module_, 101, text, 64), 0);
  EXPECT_STREQ(text, L"关于 Velmora 配置(&A)");
}

// A bitmap resource: its header, and the colour of each pixel.
struct Bitmap {
  LONG width = 0, height = 0;
  WORD bits = 0;
  std::vector<COLORREF> pixels;  // rows from the top
};

bool ReadBitmap(HMODULE module, int id, Bitmap* b) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));  // RT_BITMAP
  if (found == nullptr) return false;
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  const BITMAPINFOHEADER* h = reinterpret_cast<const BITMAPINFOHEADER*>(data);
  b->width = h->biWidth;
  b->height = h->biHeight;
  b->bits = h->biBitCount;
  if (h->biSize != 40 || h->biBitCount != 4 || h->biCompression != BI_RGB || h->biHeight <= 0) return true;
  const RGBQUAD* palette = reinterpret_cast<const RGBQUAD*>(data + 40);
  DWORD colours = h->biClrUsed != 0 ? h->biClrUsed : 16;
  const BYTE* rows = data + 40 + colours * 4;
  LONG stride = (h->biWidth * 4 + 31) / 32 * 4;
  for (LONG y = 0; y < h->biHeight; ++y) {
    const BYTE* row = rows + (h->biHeight - 1 - y) * stride;
    for (LONG x = 0; x < h->biWidth; ++x) {
      BYTE index = x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15;
      const RGBQUAD& c = palette[index];
      b->pixels.push_back(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
    }
  }
  return true;
}

bool IsGreen(COLORREF c) { return GetGValue(c) >= 128 && GetRValue(c) < GetGValue(c) && GetBValue(c) < GetGValue(c); }

TEST_F(ConfigResources, PicturesAreSixteenColourBitmapsOnBlack) {
  const struct {
    int id;
    LONG width, height;
  } cases[] = {{131, 16, 16}, {132, 16, 16}, {133, 16, 16}, {141, 16, 16},
               {142, 16, 16}, {144, 16, 16}, {140, 328, 40}};
  std::vector<std::vector<COLORREF>> seen;
  int i = 0;
  for (const auto& c : cases) {
    Bitmap b;
    ASSERT_TRUE(ReadBitmap(module_, c.id, &b)) << "case " << i;
    EXPECT_EQ(b.width, c.width) << "case " << i;
    EXPECT_EQ(b.height, c.height) << "case " << i;
    EXPECT_EQ(b.bits, 4) << "case " << i;
    ASSERT_EQ(b.pixels.size(), static_cast<size_t>(c.width * c.height)) << "case " << i;
    size_t black = 0, green = 0;
    for (COLORREF p : b.pixels) {
      black += p == RGB(0, 0, 0);
      green += IsGreen(p);
    }
    EXPECT_EQ(b.pixels[0], RGB(0, 0, 0)) << "case " << i << ": on black";
    EXPECT_GT(black, b.pixels.size() / 3) << "case " << i;
    EXPECT_GT(green, 8u) << "case " << i;
    for (const auto& other : seen) EXPECT_NE(other, b.pixels) << "case " << i << " repeats a picture";
    seen.push_back(b.pixels);
    ++i;
  }
}

TEST_F(ConfigResources, IconIsOneThirtyTwoPixelImageOfSixteenColours) {
  HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(129), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(found, nullptr);
  const WORD* group = static_cast<const WORD*>(LockResource(LoadResource(module_, found)));
  ASSERT_EQ(group[2], 1) << "images";
  const BYTE* entry = reinterpret_cast<const BYTE*>(group + 3);
  EXPECT_EQ(entry[0], 32);
  EXPECT_EQ(entry[1], 32);
  EXPECT_EQ(entry[2], 16) << "colours";
  EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 4) << "bits per pixel";
  HICON icon = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(129), IMAGE_ICON, 32, 32, 0));
  EXPECT_NE(icon, nullptr);
  if (icon != nullptr) DestroyIcon(icon);
}

TEST_F(ConfigResources, WebPagesLieBesideTheProgram) {
  for (const char* page : {"index.html", "Velmora_FAQS.html"}) {
    HANDLE f = CreateFileA(ProgramPath(page).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << page;
    char text[8192];
    DWORD read = 0;
    ReadFile(f, text, sizeof text - 1, &read, nullptr);
    CloseHandle(f);
    text[read] = '\0';
    std::string html = text;
    EXPECT_EQ(html.compare(0, 15, "<!DOCTYPE html>"), 0) << page;
    EXPECT_NE(html.find("<title>Velmora v1.6"), std::string::npos) << page;
    EXPECT_NE(html.find("</html>"), std::string::npos) << page;
  }
}

}  // namespace
