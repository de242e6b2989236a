#include "takeover/takeover_documents.h"

#include "takeover/takeover_keys.h"

// Read when Quorlen may no longer be there to explain: every tool, control and
// step it names exists while the takeover does.
std::vector<std::wstring> RestoreGuideLines(const std::wstring& launcher) {
    std::vector<std::wstring> lines = {
        L"Quorlen 手动恢复：把文件夹打开方式恢复为接管前的样子",
        L"============================================================",
        L"",
        L"Quorlen 接管了\"文件夹/驱动器打开\"（HKCU\\Software\\Classes 下的打开命令指向 Quorlen 的启动器）。",
        L"启动器在 Quorlen 运行时把文件夹交给它，Quorlen 不在时改用系统资源管理器打开，",
        L"所以即使 Quorlen 被移动或删除，双击文件夹也总能打开。以下方法可撤销接管，",
        L"把每个键恢复为接管前的值（接管时新建的键会被删除）。",
        L"",
        L"【方法一】在 Quorlen 中取消",
        L"设置 → 默认文件管理器 → 取消接管。",
        L"",
        L"【方法二】\"已安装的应用\"中卸载（Quorlen 已删除时也可用）",
        L"Windows\"设置 → 应用 → 已安装的应用\"或控制面板\"程序和功能\"里的",
        L"\"Quorlen文件资源管理器\"，点\"卸载\"。只撤销接管，不删除程序文件与 config 配置。",
        L"",
        L"【方法三】恢复工具（Quorlen 已删除时也可用）",
        L"双击启动器即为恢复工具，按提示确认即可：",
        L"  " + launcher,
        L"也可以按 Win+R 输入下面一行回车：",
        L"  \"" + launcher + L"\" /restore",
        L"",
        L"【方法四】注册表编辑器手动删除（恢复为系统默认，而非接管前的值）",
        L"按 Win+R 输入 regedit 回车，定位到 HKEY_CURRENT_USER\\Software\\Classes，",
        L"删除以下键中的 command 子键（存在才删；右键 → 删除）：",
    };
    for (const TakeoverKey& row : TakeoverKeys) lines.push_back(L"  " + std::wstring(row.key));
    lines.insert(lines.end(), {
                                  L"接管前各键的原值见同一文件夹中的\"接管前注册表配置.txt\"。",
                                  L"",
                                  L"【临时用系统资源管理器】",
                                  L"按 Win+R 输入 explorer 回车打开\"此电脑\"；任务栏上的\"文件资源管理器\"图标",
                                  L"和 Win+E 也总是打开系统资源管理器。",
                              });
    return lines;
}
