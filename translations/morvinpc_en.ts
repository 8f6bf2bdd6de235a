<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>WarningCaption</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>ErrorCaption</name>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>NoDirectoryChosen</name>
    <message>
        <source>您没有指定任何目录,因此程序未能初始化!您可以在程序启动后重新配置</source>
        <translation>You did not choose any folder, so the program could not start up! You can configure it again after the program has started</translation>
    </message>
</context>
<context>
    <name>DirectoryLacksServerFiles</name>
    <message>
        <source>您指定的目录里并不包含Morvi服务器端的关键性文件,这可能影响程序正常初始化!!</source>
        <translation>The folder you chose does not contain the key files of a Morvi server; the program may not start up properly!!</translation>
    </message>
</context>
<context>
    <name>ServerPathTooLong</name>
    <message>
        <source>您选择的目录路径超过254个字节,无法使用!</source>
        <translation>The path of the folder you chose is longer than 254 bytes and cannot be used!</translation>
    </message>
</context>
<context>
    <name>ServerPathUnencodable</name>
    <message>
        <source>您选择的目录路径含有无法保存的字符,无法使用!</source>
        <translation>The path of the folder you chose contains characters that cannot be saved and cannot be used!</translation>
    </message>
</context>
<context>
    <name>ConfigWriteFailed</name>
    <message>
        <source>配置文件MorviConfig.ini保存失败!</source>
        <translation>Could not save the configuration file MorviConfig.ini!</translation>
    </message>
</context>
<context>
    <name>ServerPathNotConfigured</name>
    <message>
        <source>服务器路径尚未配置!</source>
        <translation>The server path is not configured yet!</translation>
    </message>
</context>
<context>
    <name>ChooseServerDirectory</name>
    <message>
        <source>选择Morvi服务器端目录</source>
        <translation>Choose the Morvi server folder</translation>
    </message>
</context>
<context>
    <name>FirstRunChooseServerDirectory</name>
    <message>
        <source>第一次运行程序,配置Morvi服务器端目录</source>
        <translation>First start of the program: choose the Morvi server folder</translation>
    </message>
</context>
<context>
    <name>MapListMissing</name>
    <message>
        <source>地图列表文件不存在或者配置错误,或者设置的地图数为0!</source>
        <translation>The map list file is missing or wrong, or it sets the number of maps to 0!</translation>
    </message>
</context>
<context>
    <name>AboutMenuEntry</name>
    <message>
        <source>关于 MorviNpc(&amp;A)...</source>
        <translation>&amp;About MorviNpc...</translation>
    </message>
</context>
<context>
    <name>LoadProgressEmpty</name>
    <message>
        <source>进度[]</source>
        <translation>Progress[]</translation>
    </message>
</context>
<context>
    <name>LoadProgress</name>
    <message>
        <source>进度[{}]</source>
        <translation>Progress[{}]</translation>
    </message>
</context>
<context>
    <name>LoadDone</name>
    <message>
        <source>NPC配置列表完成!共有NPC配置信息[{}]条!</source>
        <translation>NPC list complete! [{}] NPC placements in all!</translation>
    </message>
</context>
<context>
    <name>LoadDoneHint</name>
    <message>
        <source>双击上面的内容可在这里进行编辑!</source>
        <translation>Double-click an entry above to edit it here!</translation>
    </message>
</context>
<context>
    <name>PreviousEditOpen</name>
    <message>
        <source>上一次编辑尚未结束!</source>
        <translation>The previous edit is not finished yet!</translation>
    </message>
</context>
<context>
    <name>ChooseTemplate</name>
    <message>
        <source>必须在NPC列表中选择一个NPC原型!</source>
        <translation>You must choose an NPC template in the NPC list!</translation>
    </message>
</context>
<context>
    <name>TemplateTaken</name>
    <message>
        <source>添加NPC模型成功,现在可以更改NPC配置信息!</source>
        <translation>NPC template added; you can now change the NPC's settings!</translation>
    </message>
</context>
<context>
    <name>SelectRowFirst</name>
    <message>
        <source>请先在列表中选择要编辑的NPC!</source>
        <translation>First choose the NPC to edit in the list!</translation>
    </message>
</context>
<context>
    <name>DropNewPlacementQuestion</name>
    <message>
        <source>添加的信息尚未保存,是否取消添加继续编辑?</source>
        <translation>The NPC being added is not saved yet. Drop it and go on editing?</translation>
    </message>
</context>
<context>
    <name>NoticeCaption</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>DebugModeCaption</name>
    <message>
        <source>[调试模式]{}</source>
        <translation>[Debug mode]{}</translation>
    </message>
</context>
<context>
    <name>TemplateListHint</name>
    <message>
        <source>双击该选项可以替换或增添NPC</source>
        <translation>Double-click an entry to replace or add an NPC</translation>
    </message>
</context>
<context>
    <name>PlacementListHint</name>
    <message>
        <source>双击该选项可以编辑选定项</source>
        <translation>Double-click an entry to edit it</translation>
    </message>
</context>
<context>
    <name>GroupHint</name>
    <message>
        <source>宋,金阵营只对宋金中的NPC有效!</source>
        <translation>The Song and Jin camps apply only to NPCs of the Song-Jin battle!</translation>
    </message>
</context>
<context>
    <name>OffsetOutOfRange</name>
    <message>
        <source>偏移坐标不能大于255或者小于0!</source>
        <translation>The offsets cannot be greater than 255 or less than 0!</translation>
    </message>
</context>
<context>
    <name>DropAbove24</name>
    <message>
        <source>掉宝数不能大于24!</source>
        <translation>The drop count cannot be greater than 24!</translation>
    </message>
</context>
<context>
    <name>DropBelow0</name>
    <message>
        <source>掉宝数不能小于0!</source>
        <translation>The drop count cannot be less than 0!</translation>
    </message>
</context>
<context>
    <name>NameUnencodable</name>
    <message>
        <source>NPC名称含有无法保存的字符!</source>
        <translation>The NPC name contains characters that cannot be saved!</translation>
    </message>
</context>
<context>
    <name>NameTooLong</name>
    <message>
        <source>NPC名称不能超过33个字节!</source>
        <translation>The NPC name cannot be longer than 33 bytes!</translation>
    </message>
</context>
<context>
    <name>ScriptUnencodable</name>
    <message>
        <source>脚本路径含有无法保存的字符!</source>
        <translation>The script path contains characters that cannot be saved!</translation>
    </message>
</context>
<context>
    <name>ScriptTooLong</name>
    <message>
        <source>脚本路径不能超过255个字节!</source>
        <translation>The script path cannot be longer than 255 bytes!</translation>
    </message>
</context>
<context>
    <name>SaveFailed</name>
    <message>
        <source>打开地图文件发生错误,保存失败!</source>
        <translation>Error opening the map file; nothing saved!</translation>
    </message>
</context>
<context>
    <name>DeleteQuestion</name>
    <message>
        <source>删除操作将直接操作文件,不可恢复.确定要从地图里删除选定的NPC么?</source>
        <translation>Deleting works directly on the files and cannot be taken back. Delete the selected NPCs from the map?</translation>
    </message>
</context>
<context>
    <name>DeleteCaption</name>
    <message>
        <source>从地图里移出NPC</source>
        <translation>Remove NPCs from the map</translation>
    </message>
</context>
<context>
    <name>DeleteWriteFailed</name>
    <message>
        <source>删除地图NPC时建立临时文件失败!NPC未删除!</source>
        <translation>Could not create the temporary file while deleting NPCs from the map! No NPC deleted!</translation>
    </message>
</context>
<context>
    <name>DeleteRowFailed</name>
    <message>
        <source>删除NPC[{}]失败!</source>
        <translation>Deleting NPC [{}] failed!</translation>
    </message>
</context>
<context>
    <name>DeleteFileUnreadable</name>
    <message>
        <source>无法读取地图文件{}</source>
        <translation>Cannot read the map file {}</translation>
    </message>
</context>
<context>
    <name>DeleteNoMatchingRecord</name>
    <message>
        <source>地图文件里找不到该NPC{}</source>
        <translation>The map file holds no such NPC {}</translation>
    </message>
</context>
<context>
    <name>DeleteDoneNoScript</name>
    <message>
        <source>删除NPC完成!</source>
        <translation>NPC deleted!</translation>
    </message>
</context>
<context>
    <name>DeleteRowDone</name>
    <message>
        <source>删除NPC[{}]成功!</source>
        <translation>NPC [{}] deleted!</translation>
    </message>
</context>
<context>
    <name>DeleteRecounting</name>
    <message>
        <source>NPC删除完成!正在重新计算NPC信息,现有NPC信息[{}]条!</source>
        <translation>NPCs deleted! Counting the NPC placements again: [{}] now!</translation>
    </message>
</context>
<context>
    <name>DeleteCounts</name>
    <message>
        <source>选择删除[{}]条,实际完成[{}]条!</source>
        <translation>[{}] chosen for deletion, [{}] deleted!</translation>
    </message>
</context>
<context>
    <name>RowsNow</name>
    <message>
        <source>现有NPC配置信息[{}]条!</source>
        <translation>[{}] NPC placements now!</translation>
    </message>
</context>
<context>
    <name>HistoryFailed</name>
    <message>
        <source>无法记录修改历史,文件未改动! {}</source>
        <translation>Could not record the change history; the files are unchanged! {}</translation>
    </message>
</context>
<context>
    <name>ChangedSinceLoad</name>
    <message>
        <source>地图文件{}在载入地图后已被其他程序修改,请重新载入地图!</source>
        <translation>The map file {} was changed by another program after the map was loaded; please load the map again!</translation>
    </message>
</context>
<context>
    <name>NothingToUndo</name>
    <message>
        <source>没有可撤销的修改!</source>
        <translation>No change to undo!</translation>
    </message>
</context>
<context>
    <name>UndoRefused</name>
    <message>
        <source>撤销被拒绝,文件未改动! {}</source>
        <translation>Undo refused; the files are unchanged! {}</translation>
    </message>
</context>
<context>
    <name>Undone</name>
    <message>
        <source>已撤销上一次修改!</source>
        <translation>The last change was undone!</translation>
    </message>
</context>
<context>
    <name>NothingToRedo</name>
    <message>
        <source>没有可重做的修改!</source>
        <translation>No change to redo!</translation>
    </message>
</context>
<context>
    <name>RedoRefused</name>
    <message>
        <source>重做被拒绝,文件未改动! {}</source>
        <translation>Redo refused; the files are unchanged! {}</translation>
    </message>
</context>
<context>
    <name>Redone</name>
    <message>
        <source>已重做上一次撤销的修改!</source>
        <translation>The last undone change was made again!</translation>
    </message>
</context>
<context>
    <name>NoPlacementToChange</name>
    <message>
        <source>您没有选择可更改的NPC</source>
        <translation>You have not chosen an NPC that can be changed</translation>
    </message>
</context>
<context>
    <name>ScriptFilesFilter</name>
    <message>
        <source>脚本配置文件(*.lua)</source>
        <translation>Script files (*.lua)</translation>
    </message>
</context>
<context>
    <name>AllFilesFilter</name>
    <message>
        <source>所有文件(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
</context>
<context>
    <name>NoEditorToStart</name>
    <message>
        <source>无法启动编辑器: 请安装 xdg-open (xdg-utils) 并为 .lua 文件设置默认程序, 或设置环境变量 VISUAL 或 EDITOR (并安装一个终端程序, 如 xterm)</source>
        <translation>Cannot start an editor: install xdg-open (xdg-utils) and set a default program for .lua files, or set the environment variable VISUAL or EDITOR (and install a terminal program such as xterm)</translation>
    </message>
</context>
<context>
    <name>NoBrowserToStart</name>
    <message>
        <source>无法打开浏览器: 请安装 xdg-open (xdg-utils) 并设置默认浏览器, 或设置环境变量 BROWSER</source>
        <translation>Cannot open a browser: install xdg-open (xdg-utils) and set a default browser, or set the environment variable BROWSER</translation>
    </message>
</context>
<context>
    <name>NotepadFailed</name>
    <message>
        <source>无法启动记事本 (notepad): {}</source>
        <translation>Cannot start Notepad (notepad): {}</translation>
    </message>
</context>
<context>
    <name>OperationAdd</name>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
</context>
<context>
    <name>OperationModify</name>
    <message>
        <source>修改</source>
        <translation>Change</translation>
    </message>
</context>
<context>
    <name>OperationDelete</name>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>OperationClone</name>
    <message>
        <source>复制为新NPC</source>
        <translation>Copy as new NPC</translation>
    </message>
</context>
<context>
    <name>StatusFiles</name>
    <message>
        <source>{} 个文件</source>
        <translation>{} files</translation>
    </message>
</context>
<context>
    <name>StatusRows</name>
    <message>
        <source>{} 行 (列表 {} 行)</source>
        <translation>{} rows (list: {} rows)</translation>
    </message>
</context>
<context>
    <name>StatusRowsNotDeleted</name>
    <message>
        <source>({} 行未删除)</source>
        <translation>({} rows not deleted)</translation>
    </message>
</context>
<context>
    <name>DuplicateKeyOf</name>
    <message>
        <source>模板 {}, X {}, Y {}, 偏移 {}/{}</source>
        <translation>template {}, X {}, Y {}, offset {}/{}</translation>
    </message>
</context>
<context>
    <name>DuplicateNotice</name>
    <message>
        <source>注意: </source>
        <translation>Note: </translation>
    </message>
</context>
<context>
    <name>DuplicateInFile</name>
    <message>
        <source> 中有相同键的记录, 修改或删除只会找到第一条: </source>
        <translation> holds records with the same key; a change or a delete finds only the first: </translation>
    </message>
</context>
<context>
    <name>DuplicatePair</name>
    <message>
        <source>{} 与 {}</source>
        <translation>{} and {}</translation>
    </message>
</context>
<context>
    <name>DuplicateMore</name>
    <message>
        <source> 等 {} 条</source>
        <translation> and {} more</translation>
    </message>
</context>
<context>
    <name>DuplicateGroupsMore</name>
    <message>
        <source>; 另有 {} 组</source>
        <translation>; {} more groups</translation>
    </message>
</context>
<context>
    <name>RowsCopied</name>
    <message>
        <source>{} 行已复制到剪贴板</source>
        <translation>{} rows copied to the clipboard</translation>
    </message>
</context>
<context>
    <name>ClipboardBusy</name>
    <message>
        <source>剪贴板正被另一个程序使用,未复制</source>
        <translation>The clipboard is in use by another program; nothing copied</translation>
    </message>
</context>
<context>
    <name>ClipboardRefused</name>
    <message>
        <source>剪贴板未接受这些行</source>
        <translation>The clipboard did not take these rows</translation>
    </message>
</context>
<context>
    <name>KeySave</name>
    <message>
        <source>Luu</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>KeyDelete</name>
    <message>
        <source>Xoa</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>KeyAdd</name>
    <message>
        <source>Them</source>
        <translation>Add</translation>
    </message>
</context>
<context>
    <name>KeyFindName</name>
    <message>
        <source>Ten NPC</source>
        <translation>NPC name</translation>
    </message>
</context>
<context>
    <name>KeyFindNext</name>
    <message>
        <source>Chi tim mot</source>
        <translation>Find next</translation>
    </message>
</context>
<context>
    <name>KeyReloadMap</name>
    <message>
        <source>重新读取地图</source>
        <translation>Reload the map</translation>
    </message>
</context>
<context>
    <name>MenuEdit</name>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>MenuClone</name>
    <message>
        <source>复制为新NPC</source>
        <translation>Copy as new NPC</translation>
    </message>
</context>
<context>
    <name>MenuDelete</name>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>MenuMapView</name>
    <message>
        <source>在地图上显示</source>
        <translation>Show on the map</translation>
    </message>
</context>
<context>
    <name>MenuCopyRows</name>
    <message>
        <source>复制行</source>
        <translation>Copy rows</translation>
    </message>
</context>
<context>
    <name>MenuReloadMap</name>
    <message>
        <source>重新读取地图</source>
        <translation>Reload the map</translation>
    </message>
</context>
<context>
    <name>MenuUndo</name>
    <message>
        <source>撤销上一次修改</source>
        <translation>Undo the last change</translation>
    </message>
</context>
<context>
    <name>MenuRedo</name>
    <message>
        <source>重做撤销的修改</source>
        <translation>Redo the undone change</translation>
    </message>
</context>
<context>
    <name>TemplateFilterCue</name>
    <message>
        <source>筛选</source>
        <translation>Filter</translation>
    </message>
</context>
<context>
    <name>TemplateFilterTip</name>
    <message>
        <source>筛选NPC原型 (名称或编号); 编号不变</source>
        <translation>Filter the NPC templates (name or number); the numbers stay</translation>
    </message>
</context>
<context>
    <name>MapViewFitTip</name>
    <message>
        <source>显示整个地图 (1000 × 500)</source>
        <translation>Show the whole map (1000 × 500)</translation>
    </message>
</context>
<context>
    <name>MapViewOther</name>
    <message>
        <source>其他</source>
        <translation>Other</translation>
    </message>
</context>
<context>
    <name>MapViewMarks</name>
    <message>
        <source>■ 中心黑点 = Script · 数字 = 同一位置的NPC数 · 左键拖动选择 · 右键拖动平移 · 滚轮缩放</source>
        <translation>■ black centre dot = Script · number = NPCs at the same place · left-drag selects · right-drag pans · wheel zooms</translation>
    </message>
</context>
<context>
    <name>MainWindowTitle</name>
    <message>
        <source>MorviNpc</source>
        <translation>MorviNpc</translation>
    </message>
</context>
<context>
    <name>LabelPlacementFrame</name>
    <message>
        <source>There isn't any NPC information</source>
        <translation>No NPC information</translation>
    </message>
</context>
<context>
    <name>LabelServerFrame</name>
    <message>
        <source>Thu muc Server</source>
        <translation>Server folder</translation>
    </message>
</context>
<context>
    <name>LabelServerStatus</name>
    <message>
        <source>Hien Tai Van Dang Trong Tinh Trang Chua Hoat Dong</source>
        <translation>Currently not active yet</translation>
    </message>
</context>
<context>
    <name>LabelBrowseServer</name>
    <message>
        <source>Tim...</source>
        <translation>Browse...</translation>
    </message>
</context>
<context>
    <name>LabelExit</name>
    <message>
        <source>Thoat</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>LabelAdd</name>
    <message>
        <source>Them</source>
        <translation>Add</translation>
    </message>
</context>
<context>
    <name>LabelDelete</name>
    <message>
        <source>Xoa</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>LabelPosX</name>
    <message>
        <source>Toa Do X</source>
        <translation>Pos X</translation>
    </message>
</context>
<context>
    <name>LabelPosY</name>
    <message>
        <source>Toa Do Y</source>
        <translation>Pos Y</translation>
    </message>
</context>
<context>
    <name>LabelOffsetX</name>
    <message>
        <source>Do Lech X</source>
        <translation>Offset X</translation>
    </message>
</context>
<context>
    <name>LabelOffsetY</name>
    <message>
        <source>Do Lech Y</source>
        <translation>Offset Y</translation>
    </message>
</context>
<context>
    <name>LabelScriptPath</name>
    <message>
        <source>Duong dan den mau Script gan vao NPC:</source>
        <translation>NPC script path:</translation>
    </message>
</context>
<context>
    <name>LabelBrowseScript</name>
    <message>
        <source>Tim</source>
        <translation>Find</translation>
    </message>
</context>
<context>
    <name>LabelExchange</name>
    <message>
        <source>Exchange</source>
        <translation>Swap</translation>
    </message>
</context>
<context>
    <name>LabelType</name>
    <message>
        <source>NPCType</source>
        <translation>Type</translation>
    </message>
</context>
<context>
    <name>LabelGroup</name>
    <message>
        <source>NPCGroup</source>
        <translation>Camp</translation>
    </message>
</context>
<context>
    <name>LabelSeries</name>
    <message>
        <source>NPCSeries</source>
        <translation>Series</translation>
    </message>
</context>
<context>
    <name>LabelDrop</name>
    <message>
        <source>Droprate</source>
        <translation>Drops</translation>
    </message>
</context>
<context>
    <name>LabelSave</name>
    <message>
        <source>Luu</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>LabelName</name>
    <message>
        <source>Ten NPC</source>
        <translation>NPC name</translation>
    </message>
</context>
<context>
    <name>LabelEditScript</name>
    <message>
        <source>Sua</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>LabelFindName</name>
    <message>
        <source>Ten NPC</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>LabelFindAll</name>
    <message>
        <source>Tim kiem tat ca</source>
        <translation>Find all</translation>
    </message>
</context>
<context>
    <name>LabelFindX</name>
    <message>
        <source>Toa Do X</source>
        <translation>Pos X</translation>
    </message>
</context>
<context>
    <name>LabelFindY</name>
    <message>
        <source>Toa Do Y</source>
        <translation>Pos Y</translation>
    </message>
</context>
<context>
    <name>LabelHintPlaceholder</name>
    <message>
        <source>Chon ban do o danh sach ben trai</source>
        <translation>Choose a map in the list on the left</translation>
    </message>
</context>
<context>
    <name>LabelModify</name>
    <message>
        <source>Sua</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>LabelCancelEdit</name>
    <message>
        <source>Thoat</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>LabelFindNext</name>
    <message>
        <source>Chi tim mot</source>
        <translation>Find next</translation>
    </message>
</context>
<context>
    <name>LabelContinue</name>
    <message>
        <source>Tiep Tuc...</source>
        <translation>More...</translation>
    </message>
</context>
<context>
    <name>LabelContact</name>
    <message>
        <source>MorviNpc @VERSION@
Lien he qua
trang du an:</source>
        <translation>MorviNpc @VERSION@
Contact via the
project page:</translation>
    </message>
</context>
<context>
    <name>ColumnName</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>ColumnPosX</name>
    <message>
        <source>Pos   x</source>
        <translation>Pos x</translation>
    </message>
</context>
<context>
    <name>ColumnMoveX</name>
    <message>
        <source>x Move</source>
        <translation>Offset x</translation>
    </message>
</context>
<context>
    <name>ColumnPosY</name>
    <message>
        <source>Pos   y</source>
        <translation>Pos y</translation>
    </message>
</context>
<context>
    <name>ColumnMoveY</name>
    <message>
        <source>y Move</source>
        <translation>Offset y</translation>
    </message>
</context>
<context>
    <name>ColumnType</name>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
</context>
<context>
    <name>ColumnGroup</name>
    <message>
        <source>Group</source>
        <translation>Camp</translation>
    </message>
</context>
<context>
    <name>ColumnSeries</name>
    <message>
        <source>Serie</source>
        <translation>Series</translation>
    </message>
</context>
<context>
    <name>ColumnMoney</name>
    <message>
        <source>Money</source>
        <translation>Drops</translation>
    </message>
</context>
<context>
    <name>ColumnScript</name>
    <message>
        <source>Script</source>
        <translation>Script</translation>
    </message>
</context>
<context>
    <name>AboutCaption</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>AboutTitleLine</name>
    <message>
        <source>MorviNpc Version @VERSION@</source>
        <translation>MorviNpc Version @VERSION@</translation>
    </message>
</context>
<context>
    <name>AboutPurposeLine</name>
    <message>
        <source>NPC placement editor for map regions</source>
        <translation>NPC placement editor for map regions</translation>
    </message>
</context>
<context>
    <name>AboutClose</name>
    <message>
        <source>Thoat</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>AboutHost</name>
    <message>
        <source>morvinpc.example.org</source>
        <translation>morvinpc.example.org</translation>
    </message>
</context>
<context>
    <name>AboutMoreInfo</name>
    <message>
        <source>More Info :</source>
        <translation>More info:</translation>
    </message>
</context>
<context>
    <name>LinkFailed</name>
    <message>
        <source>Failed to create hyperlink 1.</source>
        <translation>Failed to create hyperlink 1.</translation>
    </message>
</context>
<context>
    <name>LinkFailedCaption</name>
    <message>
        <source>Fatal error!</source>
        <translation>Fatal error!</translation>
    </message>
</context>
<context>
    <name>DeleteReasonUnreadable</name>
    <message>
        <source>cannot read the region file: cannot open {}</source>
        <translation>cannot read the region file: cannot open {}</translation>
    </message>
</context>
<context>
    <name>DeleteReasonNoRecord</name>
    <message>
        <source>no record in the file matches the row</source>
        <translation>no record in the file matches the row</translation>
    </message>
</context>
<context>
    <name>DeleteReasonWriteFailed</name>
    <message>
        <source>write failed</source>
        <translation>write failed</translation>
    </message>
</context>
<context>
    <name>DeleteReasonWriteFailedBecause</name>
    <message>
        <source>write failed: {}</source>
        <translation>write failed: {}</translation>
    </message>
</context>
<context>
    <name>UserConfigNoHome</name>
    <message>
        <source>无法确定配置目录 (XDG_CONFIG_HOME 与 HOME 都不是绝对路径), MorviConfig.ini 将保存在当前目录</source>
        <translation>Cannot tell the configuration folder (neither XDG_CONFIG_HOME nor HOME is an absolute path); MorviConfig.ini is kept in the current folder</translation>
    </message>
</context>
<context>
    <name>UserConfigUnusable</name>
    <message>
        <source>无法使用配置目录 {}: {}, MorviConfig.ini 将保存在当前目录</source>
        <translation>Cannot use the configuration folder {}: {}; MorviConfig.ini is kept in the current folder</translation>
    </message>
</context>
<context>
    <name>ListFilterCue</name>
    <message>
        <source>筛选NPC配置</source>
        <translation>Filter NPCs</translation>
    </message>
</context>
<context>
    <name>ListFilterTip</name>
    <message>
        <source>筛选NPC配置: 空格分隔的条件都须满足; 字段:值 (name template x y ox oy type group series drop script file), 数字可写 N 或 A-B; 其他文字匹配名称、脚本或文件</source>
        <translation>Filter the NPC placements: every space-separated term must match; field:value (name template x y ox oy type group series drop script file), numbers as N or A-B; other words match the name, script or file</translation>
    </message>
</context>
<context>
    <name>ListShown</name>
    <message>
        <source>显示 {} / {} 行</source>
        <translation>{} / {} rows shown</translation>
    </message>
</context>
<context>
    <name>ListSelected</name>
    <message>
        <source>选中 {} 行</source>
        <translation>{} rows selected</translation>
    </message>
</context>
<context>
    <name>ListTypeCount</name>
    <message>
        <source>{} {}</source>
        <translation>{} {}</translation>
    </message>
</context>
<context>
    <name>FilterUnknownField</name>
    <message>
        <source>筛选条件 {} 的字段未知</source>
        <translation>Filter term {}: unknown field</translation>
    </message>
</context>
<context>
    <name>FilterBadNumber</name>
    <message>
        <source>筛选条件 {} 的数字无效 (应为 N 或 A-B)</source>
        <translation>Filter term {}: not a valid number (N or A-B)</translation>
    </message>
</context>
<context>
    <name>FilterBadRange</name>
    <message>
        <source>筛选条件 {} 的范围颠倒 (A-B 中 A 大于 B)</source>
        <translation>Filter term {}: the range is reversed (A greater than B in A-B)</translation>
    </message>
</context>
<context>
    <name>FilterUnknownName</name>
    <message>
        <source>筛选条件 {} 的名称或代码未知</source>
        <translation>Filter term {}: unknown name or code</translation>
    </message>
</context>
<context>
    <name>OperationUndo</name>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
</context>
<context>
    <name>OperationRedo</name>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
</context>
<context>
    <name>StatusStepBack</name>
    <message>
        <source>{}  {}  第 {} 步  {}</source>
        <translation>{}  {}  step {}  {}</translation>
    </message>
</context>
<context>
    <name>MenuBulkEdit</name>
    <message>
        <source>批量修改…</source>
        <translation>Bulk edit…</translation>
    </message>
</context>
<context>
    <name>BulkEditCaption</name>
    <message>
        <source>批量修改</source>
        <translation>Bulk edit</translation>
    </message>
</context>
<context>
    <name>BulkEditLeave</name>
    <message>
        <source>(不变)</source>
        <translation>(unchanged)</translation>
    </message>
</context>
<context>
    <name>BulkEditScriptLabel</name>
    <message>
        <source>Script</source>
        <translation>Script</translation>
    </message>
</context>
<context>
    <name>BulkEditMoveLabel</name>
    <message>
        <source>Move dX / dY</source>
        <translation>Move dX / dY</translation>
    </message>
</context>
<context>
    <name>BulkEditNoSelection</name>
    <message>
        <source>请先在列表中选择要批量修改的NPC!</source>
        <translation>First choose the NPCs to bulk-edit in the list!</translation>
    </message>
</context>
<context>
    <name>BulkEditNothingSet</name>
    <message>
        <source>没有设置要修改的项目,未修改任何NPC!</source>
        <translation>Nothing set to change; no NPC changed!</translation>
    </message>
</context>
<context>
    <name>BulkEditBadNumber</name>
    <message>
        <source>{} 必须是整数,未修改任何NPC!</source>
        <translation>{} must be a whole number; no NPC changed!</translation>
    </message>
</context>
<context>
    <name>BulkEditDone</name>
    <message>
        <source>批量修改完成!选中[{}]条,实际修改[{}]条!</source>
        <translation>Bulk edit done! [{}] chosen, [{}] changed!</translation>
    </message>
</context>
<context>
    <name>BulkEditRowsRefused</name>
    <message>
        <source>{} 条未修改: {}</source>
        <translation>{} not changed: {}</translation>
    </message>
</context>
<context>
    <name>BulkEditMore</name>
    <message>
        <source> 等 {} 条</source>
        <translation> and {} more</translation>
    </message>
</context>
<context>
    <name>OperationBulkEdit</name>
    <message>
        <source>批量修改</source>
        <translation>Bulk edit</translation>
    </message>
</context>
<context>
    <name>MapViewEditMarks</name>
    <message>
        <source>拖动选中的点 = 移动 · 双击空白处 = 新NPC · Del = 删除选中</source>
        <translation>Drag selected points = move · double-click an empty spot = new NPC · Del = delete selected</translation>
    </message>
</context>
<context>
    <name>OperationMapMove</name>
    <message>
        <source>地图上移动</source>
        <translation>Move on the map</translation>
    </message>
</context>
<context>
    <name>BulkEditClearScript</name>
    <message>
        <source>清除 Script</source>
        <translation>Clear script</translation>
    </message>
</context>
<context>
    <name>ProblemsCaption</name>
    <message>
        <source>问题列表</source>
        <translation>Problems</translation>
    </message>
</context>
<context>
    <name>ProblemsMenu</name>
    <message>
        <source>问题列表…</source>
        <translation>Problems…</translation>
    </message>
</context>
<context>
    <name>ProblemsColumnMap</name>
    <message>
        <source>地图</source>
        <translation>Map</translation>
    </message>
</context>
<context>
    <name>ProblemsColumnFile</name>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
</context>
<context>
    <name>ProblemsColumnOffset</name>
    <message>
        <source>偏移</source>
        <translation>Offset</translation>
    </message>
</context>
<context>
    <name>ProblemsColumnRow</name>
    <message>
        <source>行</source>
        <translation>Row</translation>
    </message>
</context>
<context>
    <name>ProblemsColumnReason</name>
    <message>
        <source>问题</source>
        <translation>Problem</translation>
    </message>
</context>
<context>
    <name>ProblemsCheckMap</name>
    <message>
        <source>检查本地图</source>
        <translation>Check this map</translation>
    </message>
</context>
<context>
    <name>ProblemsCheckEveryMap</name>
    <message>
        <source>检查所有地图</source>
        <translation>Check every map</translation>
    </message>
</context>
<context>
    <name>ProblemsCancel</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ProblemsFixDuplicate</name>
    <message>
        <source>删除重复的记录</source>
        <translation>Delete the duplicate</translation>
    </message>
</context>
<context>
    <name>ProblemsFixHidden</name>
    <message>
        <source>删除隐藏的记录</source>
        <translation>Delete the hidden record</translation>
    </message>
</context>
<context>
    <name>ProblemsNoFix</name>
    <message>
        <source>(无安全修复)</source>
        <translation>(no safe fix)</translation>
    </message>
</context>
<context>
    <name>ProblemsProgress</name>
    <message>
        <source>正在检查 {} / {} 个地图: {}</source>
        <translation>Checking {} of {} maps: {}</translation>
    </message>
</context>
<context>
    <name>ProblemsSummary</name>
    <message>
        <source>{} 个问题, 检查了 {} 个地图的 {} 个文件</source>
        <translation>{} problems in {} maps, {} files checked</translation>
    </message>
</context>
<context>
    <name>ProblemsCancelled</name>
    <message>
        <source>已取消: {} 个问题, 检查了 {} 个地图的 {} 个文件</source>
        <translation>Cancelled: {} problems in {} maps, {} files checked</translation>
    </message>
</context>
<context>
    <name>ProblemsNoMap</name>
    <message>
        <source>请先选择地图</source>
        <translation>Choose a map first</translation>
    </message>
</context>
<context>
    <name>ProblemsMapSkipped</name>
    <message>
        <source>无法读取地图列表</source>
        <translation>Cannot read the map list</translation>
    </message>
</context>
<context>
    <name>ProblemsUnreadable</name>
    <message>
        <source>无法读取此文件</source>
        <translation>Cannot read this file</translation>
    </message>
</context>
<context>
    <name>ProblemsHeaderCutOff</name>
    <message>
        <source>文件在NPC段头内结束 ({} 字节)</source>
        <translation>The file ends inside the NPC section header ({} bytes)</translation>
    </message>
</context>
<context>
    <name>ProblemsRecordCutOff</name>
    <message>
        <source>记录被文件结尾截断: 长 {} 字节, 只有 {} 字节</source>
        <translation>A record is cut off by the end of the file: {} bytes long, only {} present</translation>
    </message>
</context>
<context>
    <name>ProblemsForeignBytes</name>
    <message>
        <source>最后一条记录后有不成记录的字节: 需 {} 字节, 只有 {} 字节</source>
        <translation>Bytes after the last record do not form a record: {} bytes needed, only {} present</translation>
    </message>
</context>
<context>
    <name>ProblemsCountMismatch</name>
    <message>
        <source>NPC数量 {} 与文件中的 {} 条记录不符</source>
        <translation>NPC count {} does not match the {} records in the file</translation>
    </message>
</context>
<context>
    <name>ProblemsTemplateOutside</name>
    <message>
        <source>模板编号 {} 不在模板表内 (列表只显示 1..{}), 列表不显示此记录</source>
        <translation>Template {} is not in the template table (the list shows 1..{}); the list does not show this record</translation>
    </message>
</context>
<context>
    <name>ProblemsHidden</name>
    <message>
        <source>列表不显示此记录: {}</source>
        <translation>The list does not show this record: {}</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenEmptyName</name>
    <message>
        <source>名称为空</source>
        <translation>empty name</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenTemplateZero</name>
    <message>
        <source>模板编号为 0</source>
        <translation>template 0</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenTemplateBeyond</name>
    <message>
        <source>模板编号超出模板表</source>
        <translation>template beyond the template table</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenXTooLarge</name>
    <message>
        <source>X 不小于 1000</source>
        <translation>X is 1000 or more</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenYTooLarge</name>
    <message>
        <source>Y 不小于 500</source>
        <translation>Y is 500 or more</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenNotCounted</name>
    <message>
        <source>不在NPC数量之内</source>
        <translation>beyond the NPC count</translation>
    </message>
</context>
<context>
    <name>ProblemsNameNotGbk</name>
    <message>
        <source>名称含有不是 GBK 的字节</source>
        <translation>The name holds bytes that are not GBK</translation>
    </message>
</context>
<context>
    <name>ProblemsScriptNotGbk</name>
    <message>
        <source>脚本路径含有不是 GBK 的字节</source>
        <translation>The script path holds bytes that are not GBK</translation>
    </message>
</context>
<context>
    <name>ProblemsScriptWithoutBackslash</name>
    <message>
        <source>脚本路径 {} 不以 \ 开头</source>
        <translation>Script path {} does not start with \</translation>
    </message>
</context>
<context>
    <name>ProblemsScriptMissing</name>
    <message>
        <source>脚本文件 {} 在服务器目录下不存在</source>
        <translation>Script file {} does not exist under the server directory</translation>
    </message>
</context>
<context>
    <name>ProblemsDuplicateKey</name>
    <message>
        <source>与偏移 {} 的记录键相同, 修改和删除只会找到前一条</source>
        <translation>Same key as the record at offset {}: modify and delete only find the earlier one</translation>
    </message>
</context>
<context>
    <name>ProblemsExactDuplicate</name>
    <message>
        <source>与 {}:{} 的记录完全相同 (同一位置重复)</source>
        <translation>Identical to the record at {}:{} (stacked on one spot)</translation>
    </message>
</context>
<context>
    <name>ProblemsRowNotListed</name>
    <message>
        <source>列表不显示这条记录</source>
        <translation>The list does not show this record</translation>
    </message>
</context>
<context>
    <name>ProblemsRowFilteredOut</name>
    <message>
        <source>这条记录被列表的筛选条件隐藏</source>
        <translation>The list's filter hides this record</translation>
    </message>
</context>
<context>
    <name>ProblemsRowGone</name>
    <message>
        <source>列表中已没有这条记录, 请重新检查</source>
        <translation>This record is no longer in the list; check again</translation>
    </message>
</context>
<context>
    <name>ProblemsFixQuestion</name>
    <message>
        <source>从 {} 删除这条记录?
{}</source>
        <translation>Delete this record from {}?
{}</translation>
    </message>
</context>
<context>
    <name>ProblemsFixDone</name>
    <message>
        <source>已删除 1 条记录 (Ctrl+Z 撤销)</source>
        <translation>1 record deleted (Ctrl+Z undoes it)</translation>
    </message>
</context>
<context>
    <name>ProblemsFixRefused</name>
    <message>
        <source>未删除: 文件已改变, 请重新检查 ({})</source>
        <translation>Not deleted: the file has changed; check again ({})</translation>
    </message>
</context>
<context>
    <name>ProblemsFixOtherMap</name>
    <message>
        <source>请先读取这个地图再修复</source>
        <translation>Load this map before fixing</translation>
    </message>
</context>
<context>
    <name>ProblemsKeyTip</name>
    <message>
        <source>问题列表 (Ctrl+Shift+M)</source>
        <translation>Problems (Ctrl+Shift+M)</translation>
    </message>
</context>
<context>
    <name>DiskChangedOne</name>
    <message>
        <source>{} 已被其他程序修改 — 按 F5 重新读取</source>
        <translation>{} was changed by another program — press F5 to reload</translation>
    </message>
</context>
<context>
    <name>DiskChangedMany</name>
    <message>
        <source>{} 等 {} 个文件已被其他程序修改 — 按 F5 重新读取</source>
        <translation>{} and others, {} files, were changed by another program — press F5 to reload</translation>
    </message>
</context>
<context>
    <name>DiskReloaded</name>
    <message>
        <source>已重新读取地图: {} 行</source>
        <translation>Map reloaded: {} rows</translation>
    </message>
</context>
<context>
    <name>MenuLanguage</name>
    <message>
        <source>语言 / Language</source>
        <translation>Language / 语言</translation>
    </message>
</context>
<context>
    <name>LanguageOriginal</name>
    <message>
        <source>原始 (中文 / Tieng Viet)</source>
        <translation>原始 (中文 / Tieng Viet)</translation>
    </message>
</context>
<context>
    <name>LanguageEnglish</name>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>LanguageVietnamese</name>
    <message>
        <source>Tiếng Việt</source>
        <translation>Tiếng Việt</translation>
    </message>
</context>
<context>
    <name>FindAllMenu</name>
    <message>
        <source>在所有地图中查找</source>
        <translation>Find in every map</translation>
    </message>
</context>
<context>
    <name>FindAllFilterCue</name>
    <message>
        <source>筛选条件, 例如 name:守卫 x:100-200 type:TalkNPC script:*</source>
        <translation>Filter, e.g. name:Guard x:100-200 type:TalkNPC script:*</translation>
    </message>
</context>
<context>
    <name>FindAllFilterTip</name>
    <message>
        <source>字段: name template x y ox oy type group series drop script file; 多个条件须全部满足; 回车开始查找</source>
        <translation>Fields: name template x y ox oy type group series drop script file; every term must match; Enter starts the search</translation>
    </message>
</context>
<context>
    <name>FindAllSearch</name>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
</context>
<context>
    <name>FindAllStop</name>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
</context>
<context>
    <name>FindAllColumnMap</name>
    <message>
        <source>地图</source>
        <translation>Map</translation>
    </message>
</context>
<context>
    <name>FindAllColumnFile</name>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
</context>
<context>
    <name>FindAllRunning</name>
    <message>
        <source>正在查找: 地图 {}/{} {} · 文件 {}/{} · 已找到 {} 条</source>
        <translation>Searching: map {}/{} {} · file {}/{} · {} found</translation>
    </message>
</context>
<context>
    <name>FindAllDone</name>
    <message>
        <source>找到 {} 条, 在 {} 个地图中 (共 {} 个地图)</source>
        <translation>{} found in {} maps (of {} maps)</translation>
    </message>
</context>
<context>
    <name>FindAllCancelled</name>
    <message>
        <source>查找已停止: 已找到 {} 条 (已查完 {} / {} 个地图)</source>
        <translation>Search stopped: {} found ({} of {} maps searched)</translation>
    </message>
</context>
<context>
    <name>FindAllSkipped</name>
    <message>
        <source>地图 {} "{}" 已跳过: 无法读取 {}</source>
        <translation>Map {} "{}" skipped: cannot read {}</translation>
    </message>
</context>
<context>
    <name>FindAllNoMapList</name>
    <message>
        <source>无法读取地图列表 (maps\worldset.ini, settings\maplist.ini)</source>
        <translation>Cannot read the map list (maps\worldset.ini, settings\maplist.ini)</translation>
    </message>
</context>
<context>
    <name>FindAllOpenHint</name>
    <message>
        <source>双击结果: 在主窗口中打开该地图并选中该NPC</source>
        <translation>Double-click a result: open its map in the main window and select the NPC</translation>
    </message>
</context>
<context>
    <name>FindAllOpened</name>
    <message>
        <source>已在主窗口中选中: 地图 {} 中的 {}</source>
        <translation>Selected in the main window: map {}, {}</translation>
    </message>
</context>
<context>
    <name>FindAllMapNotListed</name>
    <message>
        <source>主窗口的地图列表中已没有地图 {}</source>
        <translation>Map {} is no longer in the main window's map list</translation>
    </message>
</context>
<context>
    <name>FindAllPlacementGone</name>
    <message>
        <source>地图 {} 中已找不到该NPC (文件已被修改): {}</source>
        <translation>The NPC is no longer on map {} (the file was changed): {}</translation>
    </message>
</context>
<context>
    <name>CompareMenu</name>
    <message>
        <source>与其他服务器比较…</source>
        <translation>Compare with another server…</translation>
    </message>
</context>
<context>
    <name>CompareOtherLabel</name>
    <message>
        <source>其他服务器目录:</source>
        <translation>Other server folder:</translation>
    </message>
</context>
<context>
    <name>CompareBrowse</name>
    <message>
        <source>浏览…</source>
        <translation>Browse…</translation>
    </message>
</context>
<context>
    <name>CompareRun</name>
    <message>
        <source>比较</source>
        <translation>Compare</translation>
    </message>
</context>
<context>
    <name>CompareFilterCue</name>
    <message>
        <source>筛选差异 (与查找相同的筛选条件)</source>
        <translation>Filter differences (same filter as Find)</translation>
    </message>
</context>
<context>
    <name>CompareColumnKind</name>
    <message>
        <source>变化</source>
        <translation>Change</translation>
    </message>
</context>
<context>
    <name>CompareColumnKey</name>
    <message>
        <source>键 (模板,X,Y,偏移)</source>
        <translation>Key (template,X,Y,offsets)</translation>
    </message>
</context>
<context>
    <name>CompareColumnFields</name>
    <message>
        <source>差异</source>
        <translation>Differences</translation>
    </message>
</context>
<context>
    <name>CompareAdded</name>
    <message>
        <source>新增</source>
        <translation>Added</translation>
    </message>
</context>
<context>
    <name>CompareChanged</name>
    <message>
        <source>修改</source>
        <translation>Changed</translation>
    </message>
</context>
<context>
    <name>CompareRemoved</name>
    <message>
        <source>删除</source>
        <translation>Removed</translation>
    </message>
</context>
<context>
    <name>CompareFileOnlyHere</name>
    <message>
        <source>{} (只在本服务器)</source>
        <translation>{} (only on this server)</translation>
    </message>
</context>
<context>
    <name>CompareFileOnlyThere</name>
    <message>
        <source>{} (只在其他服务器)</source>
        <translation>{} (only on the other server)</translation>
    </message>
</context>
<context>
    <name>CompareNoMap</name>
    <message>
        <source>请先在主窗口中选择一个地图</source>
        <translation>First choose a map in the main window</translation>
    </message>
</context>
<context>
    <name>CompareNoOther</name>
    <message>
        <source>请指定其他服务器的目录</source>
        <translation>Name the other server's folder</translation>
    </message>
</context>
<context>
    <name>CompareOtherNoMapList</name>
    <message>
        <source>无法读取其他服务器的地图列表: {}</source>
        <translation>Cannot read the other server's map list: {}</translation>
    </message>
</context>
<context>
    <name>CompareRunning</name>
    <message>
        <source>正在比较地图 {} …</source>
        <translation>Comparing map {} …</translation>
    </message>
</context>
<context>
    <name>CompareDone</name>
    <message>
        <source>地图 {}: 新增 {} 条, 修改 {} 条, 删除 {} 条 (显示 {} / {} 条)</source>
        <translation>Map {}: {} added, {} changed, {} removed (showing {} of {})</translation>
    </message>
</context>
<context>
    <name>CompareSame</name>
    <message>
        <source>地图 {} 在两个服务器中相同</source>
        <translation>Map {} is the same on both servers</translation>
    </message>
</context>
<context>
    <name>CompareMapOnlyHere</name>
    <message>
        <source>地图 {} 不在其他服务器的地图列表中</source>
        <translation>Map {} is not in the other server's map list</translation>
    </message>
</context>
<context>
    <name>CompareFieldChange</name>
    <message>
        <source>{}: {} → {}</source>
        <translation>{}: {} → {}</translation>
    </message>
</context>
<context>
    <name>CompareHiddenBytes</name>
    <message>
        <source>未显示的字节不同</source>
        <translation>bytes not shown differ</translation>
    </message>
</context>
</TS>
