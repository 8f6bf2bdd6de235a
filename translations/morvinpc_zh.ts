<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>CliAbout</name>
    <message>
        <source>morvinpc: list, check and change the NPC placements of a Morvi server's maps.
Exit status: 0 done, 1 refused or findings, 2 usage or input/output error.</source>
        <translation>morvinpc: 列出、检查和修改 Morvi 服务器各地图的 NPC 配置。
退出状态: 0 完成, 1 被拒绝或有发现, 2 用法错误或输入/输出错误。</translation>
    </message>
</context>
<context>
    <name>CliHelpServer</name>
    <message>
        <source>server directory (default: ServerPath of MorviConfig.ini in the current directory)</source>
        <translation>服务器目录 (默认: 当前目录中 MorviConfig.ini 的 ServerPath)</translation>
    </message>
</context>
<context>
    <name>CliHelpMap</name>
    <message>
        <source>map: its index in `maps`, its display name or its directory</source>
        <translation>地图: 它在 `maps` 中的序号、显示名称或目录</translation>
    </message>
</context>
<context>
    <name>CliHelpKey</name>
    <message>
        <source>placement key: template,x,y,offset_x,offset_y,file (as `list` shows them)</source>
        <translation>NPC配置的键: template,x,y,offset_x,offset_y,file (与 `list` 显示的相同)</translation>
    </message>
</context>
<context>
    <name>CliHelpMaps</name>
    <message>
        <source>list the maps (index, display name, directory)</source>
        <translation>列出地图 (序号、显示名称、目录)</translation>
    </message>
</context>
<context>
    <name>CliHelpTableCsvJson</name>
    <message>
        <source>table, csv or json</source>
        <translation>table、csv 或 json</translation>
    </message>
</context>
<context>
    <name>CliHelpList</name>
    <message>
        <source>list a map's placements in the window's order</source>
        <translation>按窗口中的顺序列出一个地图的 NPC 配置</translation>
    </message>
</context>
<context>
    <name>CliHelpListAll</name>
    <message>
        <source>also list the records the window hides, with the rule each breaks</source>
        <translation>同时列出窗口隐藏的记录, 并注明各自违反的规则</translation>
    </message>
</context>
<context>
    <name>CliHelpCheck</name>
    <message>
        <source>check the region files of the tree or of one map (read-only)</source>
        <translation>检查整个目录树或一个地图的区域文件 (只读)</translation>
    </message>
</context>
<context>
    <name>CliHelpAdd</name>
    <message>
        <source>add a placement, as the window's "Them" and "Luu"</source>
        <translation>添加一条 NPC 配置, 如同窗口的 "Them" 和 "Luu"</translation>
    </message>
</context>
<context>
    <name>CliHelpTemplate</name>
    <message>
        <source>stored template index N (entry N of `npcs.txt`'s data lines)</source>
        <translation>保存的 NPC 原型序号 N (`npcs.txt` 数据行中的第 N 条)</translation>
    </message>
</context>
<context>
    <name>CliHelpAddFile</name>
    <message>
        <source>region file (relative to the server directory) instead of the window's random choice</source>
        <translation>区域文件 (相对于服务器目录), 代替窗口的随机选择</translation>
    </message>
</context>
<context>
    <name>CliHelpSet</name>
    <message>
        <source>change a placement, as the window's "Sua" and "Luu"</source>
        <translation>修改一条 NPC 配置, 如同窗口的 "Sua" 和 "Luu"</translation>
    </message>
</context>
<context>
    <name>CliHelpClone</name>
    <message>
        <source>add a copy of a placement to its own file, as the window's "复制为新NPC" and "Luu"</source>
        <translation>在原文件中添加一条 NPC 配置的副本, 如同窗口的 "复制为新NPC" 和 "Luu"</translation>
    </message>
</context>
<context>
    <name>CliHelpRemove</name>
    <message>
        <source>delete placements, as the window's "Xoa" answered with yes</source>
        <translation>删除 NPC 配置, 如同窗口的 "Xoa" 并回答是</translation>
    </message>
</context>
<context>
    <name>CliHelpExport</name>
    <message>
        <source>write a map's placements as CSV or JSON for `import`</source>
        <translation>将一个地图的 NPC 配置写成 CSV 或 JSON, 供 `import` 使用</translation>
    </message>
</context>
<context>
    <name>CliHelpCsvJson</name>
    <message>
        <source>csv or json</source>
        <translation>csv 或 json</translation>
    </message>
</context>
<context>
    <name>CliHelpImport</name>
    <message>
        <source>apply a file of the export's shape: additions, changes and deletions by key and file</source>
        <translation>应用一个导出格式的文件: 按键和文件进行添加、修改和删除</translation>
    </message>
</context>
<context>
    <name>CliHelpImportFile</name>
    <message>
        <source>CSV (or JSON) file as `export` writes it</source>
        <translation>`export` 写出的 CSV (或 JSON) 文件</translation>
    </message>
</context>
<context>
    <name>CliHelpDryRun</name>
    <message>
        <source>show what would change and write nothing</source>
        <translation>显示将会修改的内容, 不写入任何文件</translation>
    </message>
</context>
<context>
    <name>CliHelpHistory</name>
    <message>
        <source>list the change history of the server tree, newest first</source>
        <translation>列出服务器目录树的修改历史, 最新的在前</translation>
    </message>
</context>
<context>
    <name>CliHelpHistoryJson</name>
    <message>
        <source>write the entries as JSON</source>
        <translation>以 JSON 写出各条记录</translation>
    </message>
</context>
<context>
    <name>CliHelpUndo</name>
    <message>
        <source>take back the last change, or change ID, when its files still hold what it wrote</source>
        <translation>撤销最后一次修改或修改 ID, 前提是其文件仍保存着它写入的内容</translation>
    </message>
</context>
<context>
    <name>CliHelpChangeId</name>
    <message>
        <source>id of a change, as `history` lists it</source>
        <translation>修改的编号, 与 `history` 列出的相同</translation>
    </message>
</context>
<context>
    <name>CliHelpRestore</name>
    <message>
        <source>put a file back as it was before change ID</source>
        <translation>将文件恢复为修改 ID 之前的样子</translation>
    </message>
</context>
<context>
    <name>CliHelpForce</name>
    <message>
        <source>also take back the later changes of that file</source>
        <translation>同时撤销该文件之后的修改</translation>
    </message>
</context>
<context>
    <name>CliHelpName</name>
    <message>
        <source>NPC name ("Ten NPC")</source>
        <translation>NPC 名称 ("Ten NPC")</translation>
    </message>
</context>
<context>
    <name>CliHelpX</name>
    <message>
        <source>X coordinate ("Toa Do X")</source>
        <translation>X 坐标 ("Toa Do X")</translation>
    </message>
</context>
<context>
    <name>CliHelpY</name>
    <message>
        <source>Y coordinate ("Toa Do Y")</source>
        <translation>Y 坐标 ("Toa Do Y")</translation>
    </message>
</context>
<context>
    <name>CliHelpOffsetX</name>
    <message>
        <source>X offset 0..255 ("Do Lech X"); empty: random</source>
        <translation>X 偏移 0..255 ("Do Lech X"); 留空: 随机</translation>
    </message>
</context>
<context>
    <name>CliHelpOffsetY</name>
    <message>
        <source>Y offset 0..255 ("Do Lech Y"); empty: random</source>
        <translation>Y 偏移 0..255 ("Do Lech Y"); 留空: 随机</translation>
    </message>
</context>
<context>
    <name>CliHelpType</name>
    <message>
        <source>type: Enemy, NPC(Fly), NPC(Ground), TalkNPC; empty: none</source>
        <translation>类型: Enemy, NPC(Fly), NPC(Ground), TalkNPC; 留空: 无</translation>
    </message>
</context>
<context>
    <name>CliHelpGroup</name>
    <message>
        <source>group: Enemy, Friend, Jin, Not Hit, Song; empty: none</source>
        <translation>阵营: Enemy, Friend, Jin, Not Hit, Song; 留空: 无</translation>
    </message>
</context>
<context>
    <name>CliHelpSeries</name>
    <message>
        <source>series: 0..4; empty: none</source>
        <translation>五行: 0..4; 留空: 无</translation>
    </message>
</context>
<context>
    <name>CliHelpDrop</name>
    <message>
        <source>drop count 0..24 ("Droprate")</source>
        <translation>掉宝数 0..24 ("Droprate")</translation>
    </message>
</context>
<context>
    <name>CliHelpScript</name>
    <message>
        <source>script path below the server directory, e.g. \script\npc\guard.lua</source>
        <translation>服务器目录下的脚本路径, 例如 \script\npc\guard.lua</translation>
    </message>
</context>
<context>
    <name>CliAtPlace</name>
    <message>
        <source>{}:{}: {}</source>
        <translation>{}:{}: {}</translation>
    </message>
</context>
<context>
    <name>CliInFile</name>
    <message>
        <source>{}: {}</source>
        <translation>{}: {}</translation>
    </message>
</context>
<context>
    <name>CliListSeparator</name>
    <message>
        <source>; </source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>CliListComma</name>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>CliSystemReason</name>
    <message>
        <source> ({})</source>
        <translation> ({})</translation>
    </message>
</context>
<context>
    <name>CliNoServerDirectory</name>
    <message>
        <source>no server directory: give --server DIR or set ServerPath in the [MorviConfig] section of MorviConfig.ini in the current directory</source>
        <translation>没有服务器目录: 请用 --server DIR 指定, 或在当前目录的 MorviConfig.ini 的 [MorviConfig] 节中设置 ServerPath</translation>
    </message>
</context>
<context>
    <name>CliNotADirectory</name>
    <message>
        <source>server directory {} is not a directory</source>
        <translation>服务器目录 {} 不是目录</translation>
    </message>
</context>
<context>
    <name>CliNoMapList</name>
    <message>
        <source>no map list: maps/worldset.ini or settings/maplist.ini below {} is missing or malformed, or its map count is 0</source>
        <translation>没有地图列表: {} 下的 maps/worldset.ini 或 settings/maplist.ini 不存在或格式错误, 或者地图数为 0</translation>
    </message>
</context>
<context>
    <name>CliNoSuchMap</name>
    <message>
        <source>no map {} in the map list (give its index, display name or directory; `morvinpc maps` lists them)</source>
        <translation>地图列表中没有地图 {} (请给出它的序号、显示名称或目录; `morvinpc maps` 会列出它们)</translation>
    </message>
</context>
<context>
    <name>CliCannotRead</name>
    <message>
        <source>cannot read {}</source>
        <translation>无法读取 {}</translation>
    </message>
</context>
<context>
    <name>CliCannotReadTemplates</name>
    <message>
        <source>cannot read the template table {}</source>
        <translation>无法读取 NPC 原型表 {}</translation>
    </message>
</context>
<context>
    <name>CliCannotReadMapsDirectory</name>
    <message>
        <source>cannot read the maps directory {}</source>
        <translation>无法读取地图目录 {}</translation>
    </message>
</context>
<context>
    <name>CliUnknownFormat</name>
    <message>
        <source>unknown format {}</source>
        <translation>未知格式 {}</translation>
    </message>
</context>
<context>
    <name>CliBadKey</name>
    <message>
        <source>KEY must be template,x,y,offset_x,offset_y,file (as `list` shows them), not "{}"</source>
        <translation>KEY 必须是 template,x,y,offset_x,offset_y,file (与 `list` 显示的相同), 而不是 "{}"</translation>
    </message>
</context>
<context>
    <name>CliKeyWithoutFile</name>
    <message>
        <source>KEY names no region file: "{}"</source>
        <translation>KEY 没有指明区域文件: "{}"</translation>
    </message>
</context>
<context>
    <name>CliSomeField</name>
    <message>
        <source>a field</source>
        <translation>某个字段</translation>
    </message>
</context>
<context>
    <name>CliNotWholeNumber</name>
    <message>
        <source>{} must be a whole number, not "{}"</source>
        <translation>{} 必须是整数, 而不是 "{}"</translation>
    </message>
</context>
<context>
    <name>CliNotBetween</name>
    <message>
        <source>{} must lie between {} and {}</source>
        <translation>{} 必须在 {} 与 {} 之间</translation>
    </message>
</context>
<context>
    <name>CliNotOneOf</name>
    <message>
        <source>{} "{}" is not one of: {} (or empty for none)</source>
        <translation>{} "{}" 不是以下之一: {} (或留空表示无)</translation>
    </message>
</context>
<context>
    <name>CliNotValid</name>
    <message>
        <source>{} is not valid</source>
        <translation>{} 无效</translation>
    </message>
</context>
<context>
    <name>CliNotStorable</name>
    <message>
        <source>{} holds a character that code page 936 (GBK) cannot store</source>
        <translation>{} 含有代码页 936 (GBK) 无法保存的字符</translation>
    </message>
</context>
<context>
    <name>CliTooManyBytes</name>
    <message>
        <source>{} must take at most {} bytes in code page 936 (GBK)</source>
        <translation>{} 在代码页 936 (GBK) 中最多只能占 {} 个字节</translation>
    </message>
</context>
<context>
    <name>CliTheRegionFile</name>
    <message>
        <source>the region file</source>
        <translation>区域文件</translation>
    </message>
</context>
<context>
    <name>CliNoRegionFileToAddTo</name>
    <message>
        <source>the map has no region file to add to</source>
        <translation>该地图没有可以添加的区域文件</translation>
    </message>
</context>
<context>
    <name>CliRowGone</name>
    <message>
        <source>the placement is no longer listed</source>
        <translation>该 NPC 配置已不在列表中</translation>
    </message>
</context>
<context>
    <name>CliKeyGone</name>
    <message>
        <source>the placement is no longer in {} (changed since it was read?)</source>
        <translation>该 NPC 配置已不在 {} 中 (读取后被修改了?)</translation>
    </message>
</context>
<context>
    <name>CliNotTiled</name>
    <message>
        <source>{}: its records do not fill the file exactly, so it is left alone (see `morvinpc check`)</source>
        <translation>{}: 其记录不能恰好填满文件, 因此不做改动 (见 `morvinpc check`)</translation>
    </message>
</context>
<context>
    <name>CliCountFull</name>
    <message>
        <source>{} already holds 65535 placements, as many as its count can say</source>
        <translation>{} 已有 65535 条 NPC 配置, 已达到其计数所能表示的上限</translation>
    </message>
</context>
<context>
    <name>CliHistoryFailed</name>
    <message>
        <source>the change could not be recorded in the change history</source>
        <translation>无法将这次修改记录到修改历史中</translation>
    </message>
</context>
<context>
    <name>CliLockFailed</name>
    <message>
        <source>{} could not be locked for writing</source>
        <translation>无法锁定 {} 以进行写入</translation>
    </message>
</context>
<context>
    <name>CliWriteFailed</name>
    <message>
        <source>{} could not be written{}; it is as it was</source>
        <translation>无法写入 {}{}; 文件保持原样</translation>
    </message>
</context>
<context>
    <name>CliChangedMeanwhile</name>
    <message>
        <source>{} changed while the change was being made</source>
        <translation>{} 在修改进行期间被改动了</translation>
    </message>
</context>
<context>
    <name>CliNothingToUndo</name>
    <message>
        <source>nothing to undo</source>
        <translation>没有可撤销的修改</translation>
    </message>
</context>
<context>
    <name>CliNothingToRedo</name>
    <message>
        <source>nothing to redo</source>
        <translation>没有可重做的修改</translation>
    </message>
</context>
<context>
    <name>CliRevertRefused</name>
    <message>
        <source>{} no longer holds the bytes the change wrote</source>
        <translation>{} 已不再保存该修改写入的字节</translation>
    </message>
</context>
<context>
    <name>CliOperationFailed</name>
    <message>
        <source>the operation failed</source>
        <translation>操作失败</translation>
    </message>
</context>
<context>
    <name>CliWarnHidden</name>
    <message>
        <source>warning: written, but the window will not list this placement ({})</source>
        <translation>警告: 已写入, 但窗口不会列出这条 NPC 配置 ({})</translation>
    </message>
</context>
<context>
    <name>CliWarnKeyShared</name>
    <message>
        <source>warning: {} now holds {} records with the key {}; set and rm reach only the first of them</source>
        <translation>警告: {} 现在有 {} 条键为 {} 的记录; set 和 rm 只能找到其中第一条</translation>
    </message>
</context>
<context>
    <name>CliWarnChangedSinceRead</name>
    <message>
        <source>warning: {} was changed by another program since it was read; list the map again to see it as it is</source>
        <translation>警告: {} 在读取后已被其他程序修改; 请重新列出该地图以查看其现状</translation>
    </message>
</context>
<context>
    <name>CliNoMatch</name>
    <message>
        <source>no placement of map {} matches {}</source>
        <translation>地图 {} 中没有与 {} 匹配的 NPC 配置</translation>
    </message>
</context>
<context>
    <name>CliNotRegionFileOfMap</name>
    <message>
        <source>{} is not a region file of map {}</source>
        <translation>{} 不是地图 {} 的区域文件</translation>
    </message>
</context>
<context>
    <name>CliAddNeedsTemplate</name>
    <message>
        <source>add needs --template N, the stored index of an NPC template (1..{}); nothing added</source>
        <translation>add 需要 --template N, 即 NPC 原型的保存序号 (1..{}); 未添加任何内容</translation>
    </message>
</context>
<context>
    <name>CliTemplateBetween</name>
    <message>
        <source>--template must lie between 1 and {}</source>
        <translation>--template 必须在 1 与 {} 之间</translation>
    </message>
</context>
<context>
    <name>CliNothingAddedToMap</name>
    <message>
        <source>nothing added to map {}</source>
        <translation>未向地图 {} 添加任何内容</translation>
    </message>
</context>
<context>
    <name>CliNothingAddedTo</name>
    <message>
        <source>nothing added to {}</source>
        <translation>未向 {} 添加任何内容</translation>
    </message>
</context>
<context>
    <name>CliNothingWritten</name>
    <message>
        <source>nothing written</source>
        <translation>未写入任何内容</translation>
    </message>
</context>
<context>
    <name>CliNothingRemoved</name>
    <message>
        <source>nothing removed</source>
        <translation>未删除任何内容</translation>
    </message>
</context>
<context>
    <name>CliNotRemoved</name>
    <message>
        <source>not removed {} "{}": {}</source>
        <translation>未删除 {} "{}": {}</translation>
    </message>
</context>
<context>
    <name>CliRemovedOf</name>
    <message>
        <source>removed {} of the {} placements asked for</source>
        <translation>已删除 {} 条, 共请求 {} 条 NPC 配置</translation>
    </message>
</context>
<context>
    <name>CliCheckTemplateOutside</name>
    <message>
        <source>template index {} outside the template table (the window lists 1..{})</source>
        <translation>NPC 原型序号 {} 超出原型表范围 (窗口列出 1..{})</translation>
    </message>
</context>
<context>
    <name>CliCheckNameNotGbk</name>
    <message>
        <source>name is not valid GBK: "{}"</source>
        <translation>名称不是有效的 GBK: "{}"</translation>
    </message>
</context>
<context>
    <name>CliCheckScriptNotGbk</name>
    <message>
        <source>script path is not valid GBK: "{}"</source>
        <translation>脚本路径不是有效的 GBK: "{}"</translation>
    </message>
</context>
<context>
    <name>CliCheckScriptWithoutBackslash</name>
    <message>
        <source>script path "{}" does not start with '\'</source>
        <translation>脚本路径 "{}" 不是以 '\' 开头</translation>
    </message>
</context>
<context>
    <name>CliCheckScriptMissing</name>
    <message>
        <source>script file "{}" not found under the server directory</source>
        <translation>在服务器目录下找不到脚本文件 "{}"</translation>
    </message>
</context>
<context>
    <name>CliCheckHeaderCutOff</name>
    <message>
        <source>file ends inside the NPC section header ({} bytes)</source>
        <translation>文件在 NPC 节的头部中结束 ({} 字节)</translation>
    </message>
</context>
<context>
    <name>CliCheckRecordCutOff</name>
    <message>
        <source>record cut off by the end of the file: {} bytes long, {} present</source>
        <translation>记录被文件末尾截断: 长 {} 字节, 只有 {} 字节</translation>
    </message>
</context>
<context>
    <name>CliCheckCountMismatch</name>
    <message>
        <source>placement count {} does not match the {} records that tile the file</source>
        <translation>NPC 配置数 {} 与填满文件的 {} 条记录不符</translation>
    </message>
</context>
<context>
    <name>CliCheckSummary</name>
    <message>
        <source>checked {} region files: {} findings in {} files</source>
        <translation>已检查 {} 个区域文件: {} 个发现, 分布在 {} 个文件中</translation>
    </message>
</context>
<context>
    <name>CliUnclosedQuote</name>
    <message>
        <source>line {}: a quoted field is not closed</source>
        <translation>第 {} 行: 带引号的字段没有结束</translation>
    </message>
</context>
<context>
    <name>CliHeaderExpected</name>
    <message>
        <source>the first line must be the export's header: {}</source>
        <translation>第一行必须是导出文件的标题行: {}</translation>
    </message>
</context>
<context>
    <name>CliFieldCount</name>
    <message>
        <source>line {}: {} fields, {} expected</source>
        <translation>第 {} 行: {} 个字段, 应为 {} 个</translation>
    </message>
</context>
<context>
    <name>CliNotJsonArray</name>
    <message>
        <source>not a JSON array of placements</source>
        <translation>不是 NPC 配置的 JSON 数组</translation>
    </message>
</context>
<context>
    <name>CliElementNotObject</name>
    <message>
        <source>element {}: not an object</source>
        <translation>元素 {}: 不是对象</translation>
    </message>
</context>
<context>
    <name>CliElementWithout</name>
    <message>
        <source>element {}: no "{}"</source>
        <translation>元素 {}: 没有 "{}"</translation>
    </message>
</context>
<context>
    <name>CliElementBadValue</name>
    <message>
        <source>element {}: "{}" must be a text or a whole number</source>
        <translation>元素 {}: "{}" 必须是文本或整数</translation>
    </message>
</context>
<context>
    <name>CliTemplateNotNumber</name>
    <message>
        <source>template "{}" is not a number</source>
        <translation>NPC 原型 "{}" 不是数字</translation>
    </message>
</context>
<context>
    <name>CliRowFileNotOfMap</name>
    <message>
        <source>"{}" is not a region file of map {}</source>
        <translation>"{}" 不是地图 {} 的区域文件</translation>
    </message>
</context>
<context>
    <name>CliTemplateNotInTable</name>
    <message>
        <source>template {} is not in the template table (1..{})</source>
        <translation>NPC 原型 {} 不在原型表中 (1..{})</translation>
    </message>
</context>
<context>
    <name>CliRecordCutOff</name>
    <message>
        <source>the record at offset {} is cut off by the end of the file; the file is left alone (see `morvinpc check`)</source>
        <translation>偏移 {} 处的记录被文件末尾截断; 文件不做改动 (见 `morvinpc check`)</translation>
    </message>
</context>
<context>
    <name>CliPlanAdd</name>
    <message>
        <source>add    {}: "{}"</source>
        <translation>添加 {}: "{}"</translation>
    </message>
</context>
<context>
    <name>CliPlanDelete</name>
    <message>
        <source>delete {}: "{}"</source>
        <translation>删除 {}: "{}"</translation>
    </message>
</context>
<context>
    <name>CliPlanChange</name>
    <message>
        <source>change {}: {}</source>
        <translation>修改 {}: {}</translation>
    </message>
</context>
<context>
    <name>CliPlanCell</name>
    <message>
        <source>{} "{}" -&gt; "{}"</source>
        <translation>{} "{}" -&gt; "{}"</translation>
    </message>
</context>
<context>
    <name>CliNothingToImport</name>
    <message>
        <source>nothing to import: map {} already matches {}</source>
        <translation>没有需要导入的内容: 地图 {} 已与 {} 一致</translation>
    </message>
</context>
<context>
    <name>CliImportCounts</name>
    <message>
        <source>{} additions, {} changes, {} deletions in {} region files</source>
        <translation>{} 条添加, {} 条修改, {} 条删除, 涉及 {} 个区域文件</translation>
    </message>
</context>
<context>
    <name>CliDryRun</name>
    <message>
        <source>dry run: no file written</source>
        <translation>试运行: 未写入任何文件</translation>
    </message>
</context>
<context>
    <name>CliImportStopped</name>
    <message>
        <source>import stopped: {}</source>
        <translation>导入已停止: {}</translation>
    </message>
</context>
<context>
    <name>CliNoRegionFileChanged</name>
    <message>
        <source>no region file changed</source>
        <translation>没有区域文件被修改</translation>
    </message>
</context>
<context>
    <name>CliRestoreFailed</name>
    <message>
        <source>could not restore the files already written, they hold the imported content: {}</source>
        <translation>无法恢复已写入的文件, 它们保存着导入的内容: {}</translation>
    </message>
</context>
<context>
    <name>CliWrote</name>
    <message>
        <source>wrote {} region files</source>
        <translation>已写入 {} 个区域文件</translation>
    </message>
</context>
<context>
    <name>CliHistoryStep</name>
    <message>
        <source>step {}</source>
        <translation>第 {} 步</translation>
    </message>
</context>
<context>
    <name>CliHistoryRecords</name>
    <message>
        <source>{} records</source>
        <translation>{} 条记录</translation>
    </message>
</context>
<context>
    <name>CliNoSuchChange</name>
    <message>
        <source>there is no change {} in the history; nothing written</source>
        <translation>历史中没有修改 {}; 未写入任何内容</translation>
    </message>
</context>
<context>
    <name>CliNoChangeToUndo</name>
    <message>
        <source>no change to undo in the history of {}</source>
        <translation>{} 的历史中没有可撤销的修改</translation>
    </message>
</context>
<context>
    <name>CliUndoOfChange</name>
    <message>
        <source>undo of change {}</source>
        <translation>撤销修改 {}</translation>
    </message>
</context>
<context>
    <name>CliRestoreOfChange</name>
    <message>
        <source>restore of the file before change {}</source>
        <translation>将文件恢复为修改 {} 之前的样子</translation>
    </message>
</context>
<context>
    <name>CliRevertNotDone</name>
    <message>
        <source>{} refused: {}</source>
        <translation>{} 被拒绝: {}</translation>
    </message>
</context>
<context>
    <name>CliRevertDone</name>
    <message>
        <source>{} done as change {}: {}</source>
        <translation>{} 已完成, 记为修改 {}: {}</translation>
    </message>
</context>
<context>
    <name>CliVersionHelp</name>
    <message>
        <source>print the version and exit</source>
        <translation>显示版本并退出</translation>
    </message>
</context>
<context>
    <name>CliHelpCheckFormat</name>
    <message>
        <source>table (what the server trips over) or json (every finding with its stable code)</source>
        <translation>table (服务器会出错的问题) 或 json (每个发现及其固定代码)</translation>
    </message>
</context>
<context>
    <name>CliHelpCheckAll</name>
    <message>
        <source>the table also lists hidden records, duplicate keys and exact duplicates</source>
        <translation>表格中同时列出隐藏的记录、重复的键和完全相同的记录</translation>
    </message>
</context>
<context>
    <name>CliCheckHidden</name>
    <message>
        <source>the window does not list this record: {}</source>
        <translation>窗口不会列出这条记录: {}</translation>
    </message>
</context>
<context>
    <name>CliHiddenEmptyName</name>
    <message>
        <source>its name is empty</source>
        <translation>名称为空</translation>
    </message>
</context>
<context>
    <name>CliHiddenTemplateZero</name>
    <message>
        <source>its template index is 0</source>
        <translation>NPC 原型序号为 0</translation>
    </message>
</context>
<context>
    <name>CliHiddenTemplateBeyond</name>
    <message>
        <source>its template index is beyond the template table</source>
        <translation>NPC 原型序号超出原型表</translation>
    </message>
</context>
<context>
    <name>CliHiddenXTooLarge</name>
    <message>
        <source>x is not below 1000</source>
        <translation>x 不小于 1000</translation>
    </message>
</context>
<context>
    <name>CliHiddenYTooLarge</name>
    <message>
        <source>y is not below 500</source>
        <translation>y 不小于 500</translation>
    </message>
</context>
<context>
    <name>CliHiddenNotCounted</name>
    <message>
        <source>the placement count does not include it</source>
        <translation>NPC 配置数没有包括它</translation>
    </message>
</context>
<context>
    <name>CliCheckDuplicateKey</name>
    <message>
        <source>a second record with the key {} of the record at offset {}: changes and deletions by key never reach it</source>
        <translation>键为 {} 的第二条记录 (与偏移 {} 处的记录相同): 按键修改和删除永远找不到它</translation>
    </message>
</context>
<context>
    <name>CliCheckExactDuplicate</name>
    <message>
        <source>the same placement, byte for byte, as the one at {}:{}</source>
        <translation>与 {}:{} 处的 NPC 配置逐字节相同</translation>
    </message>
</context>
<context>
    <name>CliHelpDiff</name>
    <message>
        <source>list the placements this tree adds, changes and removes compared with another server tree</source>
        <translation>列出本目录树相对于另一个服务器目录树添加、修改和删除的 NPC 配置</translation>
    </message>
</context>
<context>
    <name>CliHelpDiffOther</name>
    <message>
        <source>the other server directory</source>
        <translation>另一个服务器目录</translation>
    </message>
</context>
<context>
    <name>CliHelpDiffFormat</name>
    <message>
        <source>table; csv: the map's rows for `import` on the other tree; or json: every difference, with stable codes</source>
        <translation>table; csv: 该地图的各行, 供在另一个目录树上 `import`; 或 json: 每一处差异, 附固定代码</translation>
    </message>
</context>
<context>
    <name>CliDiffMap</name>
    <message>
        <source>map {} "{}" ({}){}: {} added, {} changed, {} removed</source>
        <translation>地图 {} "{}" ({}){}: {} 条添加, {} 条修改, {} 条删除</translation>
    </message>
</context>
<context>
    <name>CliDiffOtherMap</name>
    <message>
        <source>the other tree's map {} "{}" ({}): only in the other tree: {} added, {} changed, {} removed</source>
        <translation>另一个目录树的地图 {} "{}" ({}): 只在另一个目录树中: {} 条添加, {} 条修改, {} 条删除</translation>
    </message>
</context>
<context>
    <name>CliDiffMapOnlyHereNote</name>
    <message>
        <source>: only in this tree</source>
        <translation>: 只在本目录树中</translation>
    </message>
</context>
<context>
    <name>CliDiffOtherIndexNote</name>
    <message>
        <source>, index {} in the other tree</source>
        <translation>, 在另一个目录树中的序号为 {}</translation>
    </message>
</context>
<context>
    <name>CliDiffFileOnlyHere</name>
    <message>
        <source>{} (only in this tree)</source>
        <translation>{} (只在本目录树中)</translation>
    </message>
</context>
<context>
    <name>CliDiffFileOnlyThere</name>
    <message>
        <source>{} (only in the other tree)</source>
        <translation>{} (只在另一个目录树中)</translation>
    </message>
</context>
<context>
    <name>CliDiffNotCarried</name>
    <message>
        <source>not carried by import: {}</source>
        <translation>import 无法带过去: {}</translation>
    </message>
</context>
<context>
    <name>CliDiffAdded</name>
    <message>
        <source>added    {} "{}"</source>
        <translation>添加  {} "{}"</translation>
    </message>
</context>
<context>
    <name>CliDiffRemoved</name>
    <message>
        <source>removed  {} "{}"</source>
        <translation>删除  {} "{}"</translation>
    </message>
</context>
<context>
    <name>CliDiffChanged</name>
    <message>
        <source>changed  {}: {}</source>
        <translation>修改  {}: {}</translation>
    </message>
</context>
<context>
    <name>CliDiffField</name>
    <message>
        <source>{} "{}" -&gt; "{}"</source>
        <translation>{} "{}" -&gt; "{}"</translation>
    </message>
</context>
<context>
    <name>CliDiffBytesNotShown</name>
    <message>
        <source>bytes no column shows</source>
        <translation>没有列显示的字节</translation>
    </message>
</context>
<context>
    <name>CliDiffOccurrence</name>
    <message>
        <source> (record {} of this key)</source>
        <translation> (该键的第 {} 条记录)</translation>
    </message>
</context>
<context>
    <name>CliDiffSummary</name>
    <message>
        <source>{} maps differ</source>
        <translation>{} 个地图有差异</translation>
    </message>
</context>
<context>
    <name>CliDiffSummaryNotCarried</name>
    <message>
        <source>{} maps differ; {} differences cannot be carried by import</source>
        <translation>{} 个地图有差异; {} 处差异无法通过 import 带过去</translation>
    </message>
</context>
<context>
    <name>CliDiffNothingToWrite</name>
    <message>
        <source>no differences: nothing to write</source>
        <translation>没有差异: 无需写入</translation>
    </message>
</context>
<context>
    <name>CliDiffNameTheMap</name>
    <message>
        <source>{} maps differ; import applies one map at a time, so name the map:</source>
        <translation>{} 个地图有差异; import 一次只应用一个地图, 请指明地图:</translation>
    </message>
</context>
<context>
    <name>CliDiffMapOneSide</name>
    <message>
        <source>map {}: {}; import cannot carry it</source>
        <translation>地图 {}: {}; import 无法带过去</translation>
    </message>
</context>
<context>
    <name>CliDiffNoMap</name>
    <message>
        <source>no map {} to compare</source>
        <translation>没有可比较的地图 {}</translation>
    </message>
</context>
<context>
    <name>CliDiffNotCarriedAt</name>
    <message>
        <source>not carried by import: {}: {}</source>
        <translation>import 无法带过去: {}: {}</translation>
    </message>
</context>
<context>
    <name>CliDiffApplyWith</name>
    <message>
        <source>apply with: morvinpc --server {} import {} FILE</source>
        <translation>应用方法: morvinpc --server {} import {} FILE</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyHiddenHere</name>
    <message>
        <source>the window hides it in this tree, so the export leaves it out</source>
        <translation>窗口在本目录树中隐藏了它, 所以导出时不包括它</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyHiddenThere</name>
    <message>
        <source>the window hides it in the other tree, and import never deletes such a record</source>
        <translation>窗口在另一个目录树中隐藏了它, 而 import 从不删除这样的记录</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyNotAtEnd</name>
    <message>
        <source>it stands before records both trees hold, and import appends new records at the end of the file</source>
        <translation>它位于两个目录树都有的记录之前, 而 import 把新记录添加在文件末尾</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyOrder</name>
    <message>
        <source>records both trees hold stand in another order</source>
        <translation>两个目录树都有的记录顺序不同</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyBytesNotShown</name>
    <message>
        <source>bytes that no column shows differ</source>
        <translation>没有列显示的字节不同</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyNotRepresentable</name>
    <message>
        <source>its row's texts do not read back to the same bytes</source>
        <translation>它那一行的文本读回后不是相同的字节</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyKeyShared</name>
    <message>
        <source>its key is shared with records the window hides, which pair otherwise</source>
        <translation>它的键与窗口隐藏的记录相同, 这些记录会以其他方式配对</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyFileOnlyHere</name>
    <message>
        <source>the region file exists only in this tree, and import creates no file</source>
        <translation>该区域文件只在本目录树中, 而 import 不会创建文件</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyFileOnlyThere</name>
    <message>
        <source>the region file exists only in the other tree; import would empty it but not remove it</source>
        <translation>该区域文件只在另一个目录树中; import 会清空它, 但不会删除它</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyForeign</name>
    <message>
        <source>the file's bytes outside the placement records differ</source>
        <translation>文件中 NPC 配置记录以外的字节不同</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyMapOnlyHere</name>
    <message>
        <source>the map is only in this tree's map list</source>
        <translation>该地图只在本目录树的地图列表中</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyMapOnlyThere</name>
    <message>
        <source>the map is only in the other tree's map list</source>
        <translation>该地图只在另一个目录树的地图列表中</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyUnreadable</name>
    <message>
        <source>the region file cannot be read</source>
        <translation>无法读取该区域文件</translation>
    </message>
</context>
<context>
    <name>CliHelpFind</name>
    <message>
        <source>find placements in every map of the map list</source>
        <translation>在地图列表的所有地图中查找 NPC 配置</translation>
    </message>
</context>
<context>
    <name>CliHelpFindFilter</name>
    <message>
        <source>filter: terms such as name:guard x:100-200 type:TalkNPC script:* (all must match)</source>
        <translation>筛选: 如 name:guard x:100-200 type:TalkNPC script:* 这样的条件 (必须全部满足)</translation>
    </message>
</context>
<context>
    <name>CliFindBadFilter</name>
    <message>
        <source>filter term "{}": {}</source>
        <translation>筛选条件 "{}": {}</translation>
    </message>
</context>
<context>
    <name>CliFilterUnknownField</name>
    <message>
        <source>unknown field (name template x y ox oy type group series drop script file)</source>
        <translation>未知字段 (name template x y ox oy type group series drop script file)</translation>
    </message>
</context>
<context>
    <name>CliFilterBadNumber</name>
    <message>
        <source>not a number N or a range A-B</source>
        <translation>不是数字 N 或范围 A-B</translation>
    </message>
</context>
<context>
    <name>CliFilterBadRange</name>
    <message>
        <source>a range A-B with A greater than B</source>
        <translation>范围 A-B 中 A 大于 B</translation>
    </message>
</context>
<context>
    <name>CliFilterUnknownName</name>
    <message>
        <source>neither a shown name nor a code</source>
        <translation>既不是显示的名称也不是代码</translation>
    </message>
</context>
<context>
    <name>CliFindMapSkipped</name>
    <message>
        <source>map {} "{}" skipped: cannot read {}</source>
        <translation>已跳过地图 {} "{}": 无法读取 {}</translation>
    </message>
</context>
<context>
    <name>CliFindSummary</name>
    <message>
        <source>{} placements in {} of {} maps match</source>
        <translation>{} 条 NPC 配置匹配, 分布在 {} 个地图中 (共 {} 个)</translation>
    </message>
</context>
<context>
    <name>CliHelpWhere</name>
    <message>
        <source>the placements matching a filter instead of KEY: terms such as name:guard x:100-200 script:* (all must match)</source>
        <translation>用筛选条件代替 KEY 选出的 NPC 配置: 如 name:guard x:100-200 script:* 这样的条件 (必须全部满足)</translation>
    </message>
</context>
<context>
    <name>CliHelpMove</name>
    <message>
        <source>move every matching placement by DX,DY (with --where)</source>
        <translation>把每个符合条件的 NPC 配置移动 DX,DY (与 --where 一起使用)</translation>
    </message>
</context>
<context>
    <name>CliWhereAndKey</name>
    <message>
        <source>give KEY or --where FILTER, not both</source>
        <translation>请给出 KEY 或 --where FILTER, 不能同时给出</translation>
    </message>
</context>
<context>
    <name>CliKeyOrWhere</name>
    <message>
        <source>give KEY or --where FILTER</source>
        <translation>请给出 KEY 或 --where FILTER</translation>
    </message>
</context>
<context>
    <name>CliWhereCannotSet</name>
    <message>
        <source>{} cannot be given with --where: a change of many placements sets --type, --group, --series, --drop, --script, --offset-x, --offset-y and --move</source>
        <translation>{} 不能与 --where 一起使用: 批量修改只设置 --type、--group、--series、--drop、--script、--offset-x、--offset-y 和 --move</translation>
    </message>
</context>
<context>
    <name>CliWhereNothingToSet</name>
    <message>
        <source>nothing to change: give a field option or --move</source>
        <translation>没有要修改的内容: 请给出一个字段选项或 --move</translation>
    </message>
</context>
<context>
    <name>CliMoveWithoutWhere</name>
    <message>
        <source>--move needs --where FILTER</source>
        <translation>--move 需要 --where FILTER</translation>
    </message>
</context>
<context>
    <name>CliBadMove</name>
    <message>
        <source>--move must be DX,DY (two whole numbers), not "{}"</source>
        <translation>--move 必须是 DX,DY (两个整数), 而不是 "{}"</translation>
    </message>
</context>
<context>
    <name>CliMoveOutside</name>
    <message>
        <source>the move would take {} outside 0 to {}</source>
        <translation>移动后 {} 将超出 0 到 {} 的范围</translation>
    </message>
</context>
<context>
    <name>CliNotChanged</name>
    <message>
        <source>not changed {} "{}": {}</source>
        <translation>未修改 {} "{}": {}</translation>
    </message>
</context>
<context>
    <name>CliChangedOf</name>
    <message>
        <source>changed {} of the {} matching placements</source>
        <translation>已修改 {} 条, 共 {} 条符合条件的 NPC 配置</translation>
    </message>
</context>
<context>
    <name>CliListMatched</name>
    <message>
        <source>{} of {} placements match</source>
        <translation>{} 条符合条件, 共 {} 条 NPC 配置</translation>
    </message>
</context>
<context>
    <name>CliPlanNoFieldChanges</name>
    <message>
        <source>no shown field changes</source>
        <translation>显示的字段没有变化</translation>
    </message>
</context>
</TS>
