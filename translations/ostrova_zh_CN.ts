<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>AppListModel</name>
    <message>
        <source>Inside “%1”</source>
        <translation>位于“%1”内</translation>
    </message>
    <message>
        <source>Not sure: the search for installed copies ran out of time</source>
        <translation>不确定：查找已安装副本时超时</translation>
    </message>
    <message>
        <source>Application bundle: %1</source>
        <translation>应用程序包：%1</translation>
    </message>
    <message>
        <source>Scanning...</source>
        <translation>正在扫描…</translation>
    </message>
    <message>
        <source>Not sure</source>
        <translation>不确定</translation>
    </message>
    <message>
        <source>Not opened for more than 90 days</source>
        <translation>超过 90 天未打开</translation>
    </message>
    <message>
        <source>Dates in orange: not opened for more than 90 days</source>
        <translation>橙色日期：超过 90 天未打开</translation>
    </message>
</context>
<context>
    <name>ByteCount</name>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 TB</translation>
    </message>
    <message>
        <source>%1 PB</source>
        <translation>%1 PB</translation>
    </message>
    <message>
        <source>%1 EB</source>
        <translation>%1 EB</translation>
    </message>
    <message>
        <source>Zero KB</source>
        <translation>零 KB</translation>
    </message>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation>
            <numerusform>%n 字节</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Category</name>
    <message>
        <source>Program files</source>
        <translation>程序文件</translation>
    </message>
    <message>
        <source>Supporting documents</source>
        <translation>支持文件</translation>
    </message>
    <message>
        <source>Cache files</source>
        <translation>缓存文件</translation>
    </message>
    <message>
        <source>Preferences files</source>
        <translation>偏好设置文件</translation>
    </message>
    <message>
        <source>Status files</source>
        <translation>状态文件</translation>
    </message>
    <message>
        <source>Crash Reporter</source>
        <translation>崩溃报告</translation>
    </message>
    <message>
        <source>Log files</source>
        <translation>日志文件</translation>
    </message>
    <message>
        <source>Sandbox files</source>
        <translation>沙盒文件</translation>
    </message>
    <message>
        <source>Daemon</source>
        <translation>守护进程</translation>
    </message>
    <message>
        <source>Login item</source>
        <translation>登录项</translation>
    </message>
    <message>
        <source>Other files</source>
        <translation>其他文件</translation>
    </message>
    <message>
        <source>Cookies</source>
        <translation>Cookie</translation>
    </message>
</context>
<context>
    <name>ExclusionsWindowController</name>
    <message>
        <source>Exclusions</source>
        <translation>排除项</translation>
    </message>
    <message>
        <source>Ostrova never offers these items and never removes or resets these applications.</source>
        <translation>Ostrova 从不提供这些项目，也从不移除或重置这些应用程序。</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>项目</translation>
    </message>
    <message>
        <source>Applies to</source>
        <translation>适用于</translation>
    </message>
    <message>
        <source>Excluded items and protected applications</source>
        <translation>排除的项目和受保护的应用程序</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Every application</source>
        <translation>所有应用程序</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Protected, always</source>
        <translation>始终受保护</translation>
    </message>
    <message>
        <source>Protected application</source>
        <translation>受保护的应用程序</translation>
    </message>
    <message numerus="yes">
        <source>%n entries of the stored exclusions could not be read and were left out.</source>
        <translation>
            <numerusform>已保存的排除项中有 %n 项无法读取，已略过。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FolderAccess</name>
    <message>
        <source>Allow access to this path</source>
        <translation>允许访问此路径</translation>
    </message>
</context>
<context>
    <name>MainViewController</name>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Recently used</source>
        <translation>最近使用</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>All applications</source>
        <translation>所有应用程序</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>应用程序</translation>
    </message>
    <message>
        <source>Remains</source>
        <translation>残留</translation>
    </message>
    <message>
        <source>Remains of removed applications</source>
        <translation>已移除应用程序的残留文件</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Uninstall</source>
        <translation>卸载</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>Search applications</source>
        <translation>搜索应用程序</translation>
    </message>
    <message>
        <source>Applications and their files</source>
        <translation>应用程序及其文件</translation>
    </message>
    <message>
        <source>Show installed applications</source>
        <translation>显示已安装的应用程序</translation>
    </message>
    <message>
        <source>Show remains of removed applications</source>
        <translation>显示已移除应用程序的残留文件</translation>
    </message>
    <message>
        <source>Uninstall the ticked applications</source>
        <translation>卸载已勾选的应用程序</translation>
    </message>
    <message>
        <source>Offer to remove what applications dragged to the Trash leave</source>
        <translation>应用程序被拖到废纸篓后，提示移除其残留文件</translation>
    </message>
    <message>
        <source>Force quit may result in loss of data being edited</source>
        <translation>强制退出可能会丢失正在编辑的数据</translation>
    </message>
    <message>
        <source>%1 is running, do you want to force quit?</source>
        <translation>%1 正在运行，要强制退出吗？</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Force quit</source>
        <translation>强制退出</translation>
    </message>
    <message>
        <source>Remains (%1)</source>
        <translation>残留（%1）</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>好</translation>
    </message>
    <message>
        <source>Please select the file to delete</source>
        <translation>请选择要删除的文件</translation>
    </message>
    <message>
        <source>The application is not installed in the /Applications directory. To ensure full functionality, please move the application to that directory.</source>
        <translation>此应用程序未安装在“应用程序”文件夹（/Applications）中。为确保功能完整，请将其移到该文件夹。</translation>
    </message>
    <message numerus="yes">
        <source>%n application(s) selected</source>
        <translation>
            <numerusform>已选择 %n 个应用程序</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Remains, not included</source>
        <translation>
            <numerusform>“残留”中已勾选 %n 项，未计入</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Applications, not included</source>
        <translation>
            <numerusform>“应用程序”中已勾选 %n 项，未计入</numerusform>
        </translation>
    </message>
    <message>
        <source>Unprotect</source>
        <translation>取消保护</translation>
    </message>
    <message>
        <source>Protect</source>
        <translation>保护</translation>
    </message>
    <message>
        <source>Never offer this…</source>
        <translation>不再提供…</translation>
    </message>
    <message>
        <source>Never offer “%1”?</source>
        <translation>不再提供“%1”?</translation>
    </message>
    <message>
        <source>The folder and everything inside it are kept. Keep it for this application only, or for every application?</source>
        <translation>该文件夹及其中的所有内容都将保留。仅对此应用程序保留，还是对所有应用程序保留?</translation>
    </message>
    <message>
        <source>The file is kept. Keep it for this application only, or for every application?</source>
        <translation>该文件将保留。仅对此应用程序保留，还是对所有应用程序保留?</translation>
    </message>
    <message>
        <source>Only for “%1”</source>
        <translation>仅限“%1”</translation>
    </message>
    <message>
        <source>For Every Application</source>
        <translation>所有应用程序</translation>
    </message>
    <message>
        <source>Exclusions…</source>
        <translation>排除项…</translation>
    </message>
    <message>
        <source>What is never offered, and the protected applications</source>
        <translation>从不提供的项目和受保护的应用程序</translation>
    </message>
    <message>
        <source>Show the exclusions and protected applications</source>
        <translation>显示排除项和受保护的应用程序</translation>
    </message>
    <message>
        <source>Reset…</source>
        <translation>重置…</translation>
    </message>
</context>
<context>
    <name>NotificationView</name>
    <message>
        <source>App cleanup reminder</source>
        <translation>应用程序清理提醒</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>扫描</translation>
    </message>
    <message>
        <source>Scan your applications</source>
        <translation>扫描你的应用程序</translation>
    </message>
    <message numerus="yes">
        <source>%n application(s) not opened for more than 90 days. Scan and uninstall to free up space.</source>
        <translation>
            <numerusform>有 %n 个应用程序超过 90 天未打开。扫描并卸载以释放空间。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PutBackReportText</name>
    <message>
        <source>Nothing was put back.</source>
        <translation>未放回任何项目。</translation>
    </message>
    <message>
        <source>The items were put back, but some launch jobs could not be loaded again.</source>
        <translation>项目已放回，但部分启动任务无法重新载入。</translation>
    </message>
    <message>
        <source>Some items could not be put back.</source>
        <translation>部分项目无法放回。</translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>已放回 %n 个项目（%1）。</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>its place is taken</source>
        <translation>原位置已被占用</translation>
    </message>
    <message>
        <source>emptied from the Trash</source>
        <translation>已从废纸篓中清除</translation>
    </message>
    <message>
        <source>it could not be moved back</source>
        <translation>无法移回</translation>
    </message>
    <message>
        <source>deleted, not in the Trash</source>
        <translation>已删除，不在废纸篓中</translation>
    </message>
    <message>
        <source>already put back</source>
        <translation>已放回</translation>
    </message>
    <message>
        <source>put back, but its launch job could not be loaded again</source>
        <translation>已放回，但其启动任务无法重新载入</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what goes back outside your home folder stayed in the Trash.</source>
        <translation>未提供管理员密码，因此应放回个人文件夹以外位置的项目仍留在废纸篓中。</translation>
    </message>
</context>
<context>
    <name>RemainsPanelView</name>
    <message>
        <source>%1 left %2 behind</source>
        <translation>%1 留下了 %2 的文件</translation>
    </message>
    <message>
        <source>%1 was moved to the Trash, but its settings, caches and other files are still on this Mac. Remove them too?</source>
        <translation>%1 已移到废纸篓，但其设置、缓存和其他文件仍在这台 Mac 上。要一并移除吗？</translation>
    </message>
    <message>
        <source>%1 were moved to the Trash, but their settings, caches and other files are still on this Mac. Remove them too?</source>
        <translation>%1 已移到废纸篓，但它们的设置、缓存和其他文件仍在这台 Mac 上。要一并移除吗？</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 和 %2</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>以后再说</translation>
    </message>
    <message>
        <source>&amp;Review</source>
        <translation>查看(&amp;R)</translation>
    </message>
    <message>
        <source>Remove remains</source>
        <translation>移除残留</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Removing the remains...</source>
        <translation>正在移除残留文件…</translation>
    </message>
    <message>
        <source>Removed what %1 left</source>
        <translation>已移除 %1 的残留文件</translation>
    </message>
    <message>
        <source>Nothing removed of what %1 left</source>
        <translation>未移除 %1 的任何残留文件</translation>
    </message>
    <message>
        <source>Could not remove what %1 left</source>
        <translation>无法移除 %1 的残留文件</translation>
    </message>
    <message>
        <source>Removed part of what %1 left</source>
        <translation>已移除 %1 的部分残留文件</translation>
    </message>
    <message numerus="yes">
        <source>Moved %n item(s) (%1) to the Trash; emptying the Trash frees the space.</source>
        <translation>
            <numerusform>已将 %n 个项目（%1）移到废纸篓；倒空废纸篓即可释放空间。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Removed %n item(s) (%1).</source>
        <translation>
            <numerusform>已移除 %n 个项目（%1）。</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of this removal could not be written, so it cannot be put back.</source>
        <translation>无法写入此次移除的记录，因此无法放回。</translation>
    </message>
    <message>
        <source>Left, as an application with the same identifier is installed again: %1.</source>
        <translation>已保留，因为已重新安装了具有相同标识符的应用程序：%1。</translation>
    </message>
    <message>
        <source>Left, as another file now lies in their place: %1.</source>
        <translation>已保留，因为原位置现有其他文件：%1。</translation>
    </message>
    <message>
        <source>Left, as they could not be removed: %1.</source>
        <translation>已保留，因为无法移除：%1。</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what lies outside your home folder was left.</source>
        <translation>未提供管理员密码，因此个人文件夹以外的项目已保留。</translation>
    </message>
    <message numerus="yes">
        <source>%n applications left %1 behind</source>
        <translation>
            <numerusform>%n 个应用程序留下了 %1 的文件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 和其他 %n 个</numerusform>
        </translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>放回原处</translation>
    </message>
    <message numerus="yes">
        <source>%n more</source>
        <translation>
            <numerusform>其他 %n 个</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n application(s)</source>
        <translation>
            <numerusform>%n 个应用程序</numerusform>
        </translation>
    </message>
    <message>
        <source>Putting back…</source>
        <translation>正在放回…</translation>
    </message>
    <message>
        <source>Put back what %1 left</source>
        <translation>已放回 %1 的残留文件</translation>
    </message>
    <message>
        <source>Nothing put back of what %1 left</source>
        <translation>未放回 %1 的任何残留文件</translation>
    </message>
    <message>
        <source>Put back part of what %1 left</source>
        <translation>已放回 %1 的部分残留文件</translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>已放回 %n 个项目（%1）。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) stayed away: their place is taken, they were emptied from the Trash or could not be moved.</source>
        <translation>
            <numerusform>%n 个项目未放回：原位置已被占用、已从废纸篓中清除或无法移动。</numerusform>
        </translation>
    </message>
    <message>
        <source>Some launch jobs could not be loaded again.</source>
        <translation>部分启动任务无法重新载入。</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what goes back outside your home folder stayed in the Trash.</source>
        <translation>未提供管理员密码，因此应放回个人文件夹以外位置的项目仍留在废纸篓中。</translation>
    </message>
</context>
<context>
    <name>RequestUninstallWinodowController</name>
    <message>
        <source>Ticked items: %1</source>
        <translation>已勾选项目：%1</translation>
    </message>
    <message>
        <source>These need an administrator&apos;s password:</source>
        <translation>以下项目需要管理员密码：</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>以及其他 %n 项</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scroll to see all %n.</source>
        <translation>
            <numerusform>滚动以查看全部 %n 项。</numerusform>
        </translation>
    </message>
    <message>
        <source>Delete immediately instead of moving to the Trash</source>
        <translation>立即删除，不移到废纸篓</translation>
    </message>
    <message>
        <source>Delete what cannot be moved to the Trash</source>
        <translation>删除无法移到废纸篓的项目</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Continue uninstall</source>
        <translation>继续卸载</translation>
    </message>
    <message>
        <source>Remove the remains of “%1”?</source>
        <translation>要移除“%1”的残留文件吗？</translation>
    </message>
    <message>
        <source>Uninstall “%1”?</source>
        <translation>要卸载“%1”吗？</translation>
    </message>
    <message numerus="yes">
        <source>Remove the remains of %n application(s)?</source>
        <translation>
            <numerusform>要移除 %n 个应用程序的残留文件吗？</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstall %n application(s)?</source>
        <translation>
            <numerusform>要卸载 %n 个应用程序吗？</numerusform>
        </translation>
    </message>
    <message>
        <source>Reset “%1”?</source>
        <translation>要重置“%1”吗？</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>%1 stays installed. Its settings, caches and other data (%2) are deleted.</source>
        <translation>%1 仍保持安装。其设置、缓存和其他数据（%2）将被删除。</translation>
    </message>
    <message>
        <source>%1 stays installed. Its settings, caches and other data (%2) go to the Trash; you can put them back.</source>
        <translation>%1 仍保持安装。其设置、缓存和其他数据（%2）将移到废纸篓，可以放回原处。</translation>
    </message>
</context>
<context>
    <name>RkContainerView</name>
    <message>
        <source>Grant access</source>
        <translation>授予访问权限</translation>
    </message>
</context>
<context>
    <name>RkLoadAppView</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Please wait, searching...</source>
        <translation>正在搜索，请稍候…</translation>
    </message>
</context>
<context>
    <name>SandboxAuthorizeWindowController</name>
    <message>
        <source>Grant %1 access to the following directories</source>
        <translation>允许 %1 访问以下文件夹</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>资源库</translation>
    </message>
    <message>
        <source>Search for background apps, logs, etc. installed in non-standard directories</source>
        <translation>搜索安装在非标准位置的后台应用程序、日志等</translation>
    </message>
    <message>
        <source>App Containers</source>
        <translation>应用程序容器</translation>
    </message>
    <message>
        <source>Search for data stored in the container directory corresponding to the installed App</source>
        <translation>搜索已安装应用程序在其容器文件夹中存储的数据</translation>
    </message>
    <message>
        <source>macOS</source>
        <translation>macOS</translation>
    </message>
    <message>
        <source>Find all existing apps and corresponding data, dependency files, log files, etc.</source>
        <translation>查找所有现有应用程序及其数据、依赖文件、日志文件等</translation>
    </message>
</context>
<context>
    <name>UninstallCompletedViewController</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>放回原处</translation>
    </message>
    <message>
        <source>Put Back: return everything to where it was</source>
        <translation>放回原处：将所有项目放回原来的位置</translation>
    </message>
    <message>
        <source>Finish and return to the list</source>
        <translation>完成并返回列表</translation>
    </message>
    <message numerus="yes">
        <source>The remains of the following application(s) have been removed.</source>
        <translation>
            <numerusform>以下应用程序的残留文件已移除。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been uninstalled.</source>
        <translation>
            <numerusform>以下应用程序已卸载。</numerusform>
        </translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what lies outside your home folder was left.</source>
        <translation>未提供管理员密码，因此个人文件夹以外的项目已保留。</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as an application with the same identifier is installed again.</source>
        <translation>
            <numerusform>%n 个项目已保留，因为已重新安装了具有相同标识符的应用程序。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as another file now lies in their place.</source>
        <translation>
            <numerusform>%n 个项目已保留，因为原位置现有其他文件。</numerusform>
        </translation>
    </message>
    <message>
        <source>Moved %1 to the Trash. Empty the Trash to free the space.</source>
        <translation>已将 %1 的项目移到废纸篓。倒空废纸篓以释放空间。</translation>
    </message>
    <message>
        <source>The record of this removal could not be written: Put Back works only until Ostrova quits.</source>
        <translation>无法写入此次移除的记录：“放回原处”仅在 Ostrova 退出前有效。</translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been reset. They stay installed.</source>
        <translation>
            <numerusform>以下应用程序已重置，仍保持安装。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UninstallResidualViewController</name>
    <message>
        <source>Some apps were not completely uninstalled, residual files left</source>
        <translation>部分应用程序未完全卸载，仍有残留文件</translation>
    </message>
    <message>
        <source>Please manually delete the residual files.</source>
        <translation>请手动删除残留文件。</translation>
    </message>
    <message>
        <source>The following App has uninstallation&apos;s leftover files.</source>
        <translation>以下应用程序卸载后仍有残留文件。</translation>
    </message>
    <message>
        <source>Some data of the reset applications was left</source>
        <translation>已重置的应用程序仍有部分数据残留</translation>
    </message>
</context>
<context>
    <name>UninstallingViewController</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>正在取消…</translation>
    </message>
    <message numerus="yes">
        <source>Removing the remains of %n application(s)…</source>
        <translation>
            <numerusform>正在移除 %n 个应用程序的残留文件…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstalling %n application(s)…</source>
        <translation>
            <numerusform>正在卸载 %n 个应用程序…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Resetting %n application(s)…</source>
        <translation>
            <numerusform>正在重置 %n 个应用程序…</numerusform>
        </translation>
    </message>
</context>
</TS>
