#include "base/StringTable.h"

#include <mutex>

namespace tavlin {
namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr Entry kTable[] = {
    {101, "关于 Tavlin(&A)..."},
    {102, "正在调节曝光参数，请稍候……\n"},
    {103, "设备检测完成。\n"},
    {104, "未检测到相应设备，请确认连接情况。\n"},
    {106, "正在检测设备，请稍候...\n"},
    {107, "曝光调节结束，当前光学参数为:%d，%d，%d;\n\n0x%02x，0x%02x。\n"},
    {108, "正在搜索最佳起始行、起止列，请稍候.....\n"},
    {109, "设备已拔出,请点击\"Esc\"退出调平.\n"},
    {110, "标定模式"},
    {111, "工作模式"},
    {112, "确定所用图像行成功！当前光学参数为:%d，%d，%d\n\n下面请进行曝光调节。\n"},
    {116,
     "调平提示：\n首先调节起始行使亮区处于显示区(自动)；\n"
     "如果提示图像行选取失败，请调节光学模组水平及角度直至选取成功(调节后，按空格键显示图像)；\n"
     "然后进行曝光调节；\n最后确定退出。\n"},
    {117, "正在初始化设备，请稍候..."},
    {119, "请先调节曝光参数！\n"},
    {125, "请先转化为标定模式，再进行标定！\n"},
    {134, "当前模式为工作模式！\n"},
    {135, "当前模式为标定模式！\n"},
    {136, "模式转换失败，请重新尝试！\n"},
    {138, "起始行查找失败，请先退出，重新调平!\n"},
    {139, "起始行配置失败，请先退出，重新调平!\n"},
    {140, "起止列查找失败，请先退出，重新调平!\n"},
    {142, "拼行失败，请先退出，重新调平!\n"},
    {143, "获取 IMAGE Version 失败!\n"},
    {144, "曝光调节失败，请重新调节。\n"},
    {145, "环境准备完毕，请选择配置文件进行更新！\n"},
    {147, "环境配置失败，请退出重试!\n"},
    {148, "设备未准备好，请先更新固件.\n"},
    {160, "已找到设备，但当前用户无权打开它。请安装软件包中的 udev 规则，然后重新插拔设备。\n"},
    {161, "Master: "},
    {162, "Slave: "},
    {163, "无法写入日志文件夹 %s（%s）。\n"},
    {164, "日志文件 %s 不完整：部分记录未能写入。\n"},
    {170,
     "设备已被其他程序占用，或当前用户无权打开它。请关闭使用该设备的其他程序，或申请打开它的权限。"
     "\n"},
};

std::mutex g_translatorMutex;
StringTranslator g_translator;

}  // namespace

const char* BuiltInString(int id) {
    for (const auto& e : kTable) {
        if (e.id == id) {
            return e.text;
        }
    }
    return "";
}

const int* AllStringIds(size_t* count) {
    static const auto ids = [] {
        static int out[std::size(kTable)];
        for (size_t i = 0; i < std::size(kTable); ++i) {
            out[i] = kTable[i].id;
        }
        return out;
    }();
    *count = std::size(kTable);
    return ids;
}

void SetStringTranslator(StringTranslator translator) {
    std::lock_guard lock(g_translatorMutex);
    g_translator = std::move(translator);
}

std::string Tr(const char* builtIn) {
    StringTranslator translator;
    {
        std::lock_guard lock(g_translatorMutex);
        translator = g_translator;
    }
    return translator ? translator(builtIn) : std::string(builtIn);
}

std::string LoadString(int id) {
    return Tr(BuiltInString(id));
}

}  // namespace tavlin
