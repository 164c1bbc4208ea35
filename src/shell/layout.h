#pragma once
// Where every control of the shell's windows stands: pixels at 96 DPI,
// relative to the client area of the parent (the window, or a panel).
// The windows lay themselves out from these tables, and the UI tests check
// the real controls against them.

#include <array>
#include <string_view>

namespace wmb {

struct LayoutRect {
    int x, y, width, height;
};

struct ControlLayout {
    int id;
    std::u8string_view name;
    int parent_id;  // 0: the window's client area
    LayoutRect rect;
};

struct WindowSize {
    int width, height;  // outer size
};

namespace gate_layout {
inline constexpr WindowSize kWindow{409, 366};
inline constexpr int k编辑框_班级 = 101;
inline constexpr int k按钮_确定 = 102;
inline constexpr std::array<ControlLayout, 2> kControls{{
    {k编辑框_班级, u8"编辑框_班级", 0, {39, 152, 240, 47}},
    {k按钮_确定, u8"按钮_确定", 0, {277, 151, 92, 48}},
}};
inline constexpr int kEditFontHeight = 19;
inline constexpr int kButtonFontHeight = 19;
}  // namespace gate_layout

namespace list_layout {
inline constexpr WindowSize kWindow{964, 552};
inline constexpr int k工具条1 = 201;
inline constexpr int k超级列表框1 = 202;
inline constexpr int k分组框1 = 203;
inline constexpr int k按钮_显示全部 = 211;
inline constexpr int k按钮_信息添加 = 212;
inline constexpr int k按钮_信息修改 = 213;
inline constexpr int k按钮_Excel导入 = 214;
inline constexpr int k按钮_Excel导出 = 215;
inline constexpr int k按钮_删除选中行 = 216;
inline constexpr int k按钮_信息查询 = 217;
inline constexpr int k按钮_删除查询 = 218;
inline constexpr int k按钮_清空数据库 = 219;
inline constexpr std::array<ControlLayout, 12> kControls{{
    {k工具条1, u8"工具条1", 0, {0, -6, 817, 28}},
    {k超级列表框1, u8"超级列表框1", 0, {0, 48, 960, 476}},
    {k分组框1, u8"分组框1", 0, {816, 72, 133, 356}},
    {k按钮_显示全部, u8"按钮_显示全部", k分组框1, {7, 24, 119, 32}},
    {k按钮_信息添加, u8"按钮_信息添加", k分组框1, {7, 60, 119, 32}},
    {k按钮_信息修改, u8"按钮_信息修改", k分组框1, {7, 98, 119, 32}},
    {k按钮_Excel导入, u8"按钮_Excel导入", k分组框1, {7, 136, 119, 32}},
    {k按钮_Excel导出, u8"按钮_Excel导出", k分组框1, {7, 173, 119, 32}},
    {k按钮_删除选中行, u8"按钮_删除选中行", k分组框1, {7, 209, 119, 32}},
    {k按钮_信息查询, u8"按钮_信息查询", k分组框1, {8, 248, 119, 32}},
    {k按钮_删除查询, u8"按钮_删除查询", k分组框1, {8, 281, 119, 32}},
    {k按钮_清空数据库, u8"按钮_清空数据库", k分组框1, {7, 313, 119, 32}},
}};
}  // namespace list_layout

namespace about_layout {
inline constexpr WindowSize kWindow{296, 284};
inline constexpr int k标签2 = 301;
inline constexpr int k标签6 = 302;
inline constexpr std::array<ControlLayout, 2> kControls{{
    {k标签2, u8"标签2", 0, {56, 68, 160, 24}},
    {k标签6, u8"标签6", 0, {16, 134, 259, 68}},
}};
}  // namespace about_layout

}  // namespace wmb
