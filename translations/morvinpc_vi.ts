<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="vi_VN" sourcelanguage="zh_CN">
<context>
    <name>WarningCaption</name>
    <message>
        <source>警告</source>
        <translation>Cảnh báo</translation>
    </message>
</context>
<context>
    <name>ErrorCaption</name>
    <message>
        <source>错误</source>
        <translation>Lỗi</translation>
    </message>
</context>
<context>
    <name>NoDirectoryChosen</name>
    <message>
        <source>您没有指定任何目录,因此程序未能初始化!您可以在程序启动后重新配置</source>
        <translation>Bạn chưa chỉ định thư mục nào nên chương trình không khởi tạo được! Bạn có thể cấu hình lại sau khi chương trình khởi động</translation>
    </message>
</context>
<context>
    <name>DirectoryLacksServerFiles</name>
    <message>
        <source>您指定的目录里并不包含Morvi服务器端的关键性文件,这可能影响程序正常初始化!!</source>
        <translation>Thư mục bạn chọn không chứa các tệp quan trọng của server Morvi, điều này có thể khiến chương trình không khởi tạo bình thường!!</translation>
    </message>
</context>
<context>
    <name>ServerPathTooLong</name>
    <message>
        <source>您选择的目录路径超过254个字节,无法使用!</source>
        <translation>Đường dẫn thư mục bạn chọn dài quá 254 byte, không dùng được!</translation>
    </message>
</context>
<context>
    <name>ServerPathUnencodable</name>
    <message>
        <source>您选择的目录路径含有无法保存的字符,无法使用!</source>
        <translation>Đường dẫn thư mục bạn chọn có ký tự không lưu được, không dùng được!</translation>
    </message>
</context>
<context>
    <name>ConfigWriteFailed</name>
    <message>
        <source>配置文件MorviConfig.ini保存失败!</source>
        <translation>Lưu tệp cấu hình MorviConfig.ini thất bại!</translation>
    </message>
</context>
<context>
    <name>ServerPathNotConfigured</name>
    <message>
        <source>服务器路径尚未配置!</source>
        <translation>Chưa cấu hình đường dẫn server!</translation>
    </message>
</context>
<context>
    <name>ChooseServerDirectory</name>
    <message>
        <source>选择Morvi服务器端目录</source>
        <translation>Chọn thư mục server Morvi</translation>
    </message>
</context>
<context>
    <name>FirstRunChooseServerDirectory</name>
    <message>
        <source>第一次运行程序,配置Morvi服务器端目录</source>
        <translation>Chạy chương trình lần đầu: cấu hình thư mục server Morvi</translation>
    </message>
</context>
<context>
    <name>MapListMissing</name>
    <message>
        <source>地图列表文件不存在或者配置错误,或者设置的地图数为0!</source>
        <translation>Tệp danh sách bản đồ không tồn tại hoặc cấu hình sai, hoặc số bản đồ được đặt là 0!</translation>
    </message>
</context>
<context>
    <name>AboutMenuEntry</name>
    <message>
        <source>关于 MorviNpc(&amp;A)...</source>
        <translation>&amp;Giới thiệu MorviNpc...</translation>
    </message>
</context>
<context>
    <name>LoadProgressEmpty</name>
    <message>
        <source>进度[]</source>
        <translation>Tiến độ[]</translation>
    </message>
</context>
<context>
    <name>LoadProgress</name>
    <message>
        <source>进度[{}]</source>
        <translation>Tiến độ[{}]</translation>
    </message>
</context>
<context>
    <name>LoadDone</name>
    <message>
        <source>NPC配置列表完成!共有NPC配置信息[{}]条!</source>
        <translation>Đã lập xong danh sách NPC! Có tất cả [{}] thông tin vị trí NPC!</translation>
    </message>
</context>
<context>
    <name>LoadDoneHint</name>
    <message>
        <source>双击上面的内容可在这里进行编辑!</source>
        <translation>Nhấp đúp vào nội dung phía trên để sửa ở đây!</translation>
    </message>
</context>
<context>
    <name>PreviousEditOpen</name>
    <message>
        <source>上一次编辑尚未结束!</source>
        <translation>Lần sửa trước chưa kết thúc!</translation>
    </message>
</context>
<context>
    <name>ChooseTemplate</name>
    <message>
        <source>必须在NPC列表中选择一个NPC原型!</source>
        <translation>Phải chọn một mẫu NPC trong danh sách NPC!</translation>
    </message>
</context>
<context>
    <name>TemplateTaken</name>
    <message>
        <source>添加NPC模型成功,现在可以更改NPC配置信息!</source>
        <translation>Thêm mẫu NPC thành công, bây giờ có thể thay đổi thông tin NPC!</translation>
    </message>
</context>
<context>
    <name>SelectRowFirst</name>
    <message>
        <source>请先在列表中选择要编辑的NPC!</source>
        <translation>Hãy chọn NPC cần sửa trong danh sách trước!</translation>
    </message>
</context>
<context>
    <name>DropNewPlacementQuestion</name>
    <message>
        <source>添加的信息尚未保存,是否取消添加继续编辑?</source>
        <translation>Thông tin đang thêm chưa được lưu, có hủy việc thêm để tiếp tục sửa không?</translation>
    </message>
</context>
<context>
    <name>NoticeCaption</name>
    <message>
        <source>提示</source>
        <translation>Thông báo</translation>
    </message>
</context>
<context>
    <name>DebugModeCaption</name>
    <message>
        <source>[调试模式]{}</source>
        <translation>[Chế độ gỡ lỗi]{}</translation>
    </message>
</context>
<context>
    <name>TemplateListHint</name>
    <message>
        <source>双击该选项可以替换或增添NPC</source>
        <translation>Nhấp đúp vào mục này để thay thế hoặc thêm NPC</translation>
    </message>
</context>
<context>
    <name>PlacementListHint</name>
    <message>
        <source>双击该选项可以编辑选定项</source>
        <translation>Nhấp đúp vào mục này để sửa mục đã chọn</translation>
    </message>
</context>
<context>
    <name>GroupHint</name>
    <message>
        <source>宋,金阵营只对宋金中的NPC有效!</source>
        <translation>Phe Tống, Kim chỉ có tác dụng với NPC trong Tống Kim!</translation>
    </message>
</context>
<context>
    <name>OffsetOutOfRange</name>
    <message>
        <source>偏移坐标不能大于255或者小于0!</source>
        <translation>Độ lệch không được lớn hơn 255 hoặc nhỏ hơn 0!</translation>
    </message>
</context>
<context>
    <name>DropAbove24</name>
    <message>
        <source>掉宝数不能大于24!</source>
        <translation>Số lần rơi đồ không được lớn hơn 24!</translation>
    </message>
</context>
<context>
    <name>DropBelow0</name>
    <message>
        <source>掉宝数不能小于0!</source>
        <translation>Số lần rơi đồ không được nhỏ hơn 0!</translation>
    </message>
</context>
<context>
    <name>NameUnencodable</name>
    <message>
        <source>NPC名称含有无法保存的字符!</source>
        <translation>Tên NPC có ký tự không lưu được!</translation>
    </message>
</context>
<context>
    <name>NameTooLong</name>
    <message>
        <source>NPC名称不能超过33个字节!</source>
        <translation>Tên NPC không được dài quá 33 byte!</translation>
    </message>
</context>
<context>
    <name>ScriptUnencodable</name>
    <message>
        <source>脚本路径含有无法保存的字符!</source>
        <translation>Đường dẫn script có ký tự không lưu được!</translation>
    </message>
</context>
<context>
    <name>ScriptTooLong</name>
    <message>
        <source>脚本路径不能超过255个字节!</source>
        <translation>Đường dẫn script không được dài quá 255 byte!</translation>
    </message>
</context>
<context>
    <name>SaveFailed</name>
    <message>
        <source>打开地图文件发生错误,保存失败!</source>
        <translation>Lỗi khi mở tệp bản đồ, lưu thất bại!</translation>
    </message>
</context>
<context>
    <name>DeleteQuestion</name>
    <message>
        <source>删除操作将直接操作文件,不可恢复.确定要从地图里删除选定的NPC么?</source>
        <translation>Thao tác xóa sẽ sửa trực tiếp tệp và không thể khôi phục. Chắc chắn xóa các NPC đã chọn khỏi bản đồ?</translation>
    </message>
</context>
<context>
    <name>DeleteCaption</name>
    <message>
        <source>从地图里移出NPC</source>
        <translation>Xóa NPC khỏi bản đồ</translation>
    </message>
</context>
<context>
    <name>DeleteWriteFailed</name>
    <message>
        <source>删除地图NPC时建立临时文件失败!NPC未删除!</source>
        <translation>Tạo tệp tạm khi xóa NPC trên bản đồ thất bại! NPC chưa bị xóa!</translation>
    </message>
</context>
<context>
    <name>DeleteRowFailed</name>
    <message>
        <source>删除NPC[{}]失败!</source>
        <translation>Xóa NPC [{}] thất bại!</translation>
    </message>
</context>
<context>
    <name>DeleteFileUnreadable</name>
    <message>
        <source>无法读取地图文件{}</source>
        <translation>Không đọc được tệp bản đồ {}</translation>
    </message>
</context>
<context>
    <name>DeleteNoMatchingRecord</name>
    <message>
        <source>地图文件里找不到该NPC{}</source>
        <translation>Không tìm thấy NPC này trong tệp bản đồ {}</translation>
    </message>
</context>
<context>
    <name>DeleteDoneNoScript</name>
    <message>
        <source>删除NPC完成!</source>
        <translation>Đã xóa NPC!</translation>
    </message>
</context>
<context>
    <name>DeleteRowDone</name>
    <message>
        <source>删除NPC[{}]成功!</source>
        <translation>Xóa NPC [{}] thành công!</translation>
    </message>
</context>
<context>
    <name>DeleteRecounting</name>
    <message>
        <source>NPC删除完成!正在重新计算NPC信息,现有NPC信息[{}]条!</source>
        <translation>Đã xóa NPC! Đang tính lại thông tin NPC, hiện có [{}] thông tin NPC!</translation>
    </message>
</context>
<context>
    <name>DeleteCounts</name>
    <message>
        <source>选择删除[{}]条,实际完成[{}]条!</source>
        <translation>Chọn xóa [{}] mục, thực tế đã xóa [{}] mục!</translation>
    </message>
</context>
<context>
    <name>RowsNow</name>
    <message>
        <source>现有NPC配置信息[{}]条!</source>
        <translation>Hiện có [{}] thông tin vị trí NPC!</translation>
    </message>
</context>
<context>
    <name>HistoryFailed</name>
    <message>
        <source>无法记录修改历史,文件未改动! {}</source>
        <translation>Không ghi được lịch sử thay đổi, tệp không bị thay đổi! {}</translation>
    </message>
</context>
<context>
    <name>ChangedSinceLoad</name>
    <message>
        <source>地图文件{}在载入地图后已被其他程序修改,请重新载入地图!</source>
        <translation>Tệp bản đồ {} đã bị chương trình khác sửa sau khi tải bản đồ, hãy tải lại bản đồ!</translation>
    </message>
</context>
<context>
    <name>NothingToUndo</name>
    <message>
        <source>没有可撤销的修改!</source>
        <translation>Không có thay đổi nào để hoàn tác!</translation>
    </message>
</context>
<context>
    <name>UndoRefused</name>
    <message>
        <source>撤销被拒绝,文件未改动! {}</source>
        <translation>Hoàn tác bị từ chối, tệp không bị thay đổi! {}</translation>
    </message>
</context>
<context>
    <name>Undone</name>
    <message>
        <source>已撤销上一次修改!</source>
        <translation>Đã hoàn tác thay đổi gần nhất!</translation>
    </message>
</context>
<context>
    <name>NothingToRedo</name>
    <message>
        <source>没有可重做的修改!</source>
        <translation>Không có thay đổi nào để làm lại!</translation>
    </message>
</context>
<context>
    <name>RedoRefused</name>
    <message>
        <source>重做被拒绝,文件未改动! {}</source>
        <translation>Làm lại bị từ chối, tệp không bị thay đổi! {}</translation>
    </message>
</context>
<context>
    <name>Redone</name>
    <message>
        <source>已重做上一次撤销的修改!</source>
        <translation>Đã làm lại thay đổi vừa hoàn tác!</translation>
    </message>
</context>
<context>
    <name>NoPlacementToChange</name>
    <message>
        <source>您没有选择可更改的NPC</source>
        <translation>Bạn chưa chọn NPC nào có thể thay đổi</translation>
    </message>
</context>
<context>
    <name>ScriptFilesFilter</name>
    <message>
        <source>脚本配置文件(*.lua)</source>
        <translation>Tệp script (*.lua)</translation>
    </message>
</context>
<context>
    <name>AllFilesFilter</name>
    <message>
        <source>所有文件(*.*)</source>
        <translation>Tất cả các tệp (*.*)</translation>
    </message>
</context>
<context>
    <name>NoEditorToStart</name>
    <message>
        <source>无法启动编辑器: 请安装 xdg-open (xdg-utils) 并为 .lua 文件设置默认程序, 或设置环境变量 VISUAL 或 EDITOR (并安装一个终端程序, 如 xterm)</source>
        <translation>Không khởi động được trình soạn thảo: hãy cài xdg-open (xdg-utils) và đặt chương trình mặc định cho tệp .lua, hoặc đặt biến môi trường VISUAL hoặc EDITOR (và cài một chương trình terminal, như xterm)</translation>
    </message>
</context>
<context>
    <name>NoBrowserToStart</name>
    <message>
        <source>无法打开浏览器: 请安装 xdg-open (xdg-utils) 并设置默认浏览器, 或设置环境变量 BROWSER</source>
        <translation>Không mở được trình duyệt: hãy cài xdg-open (xdg-utils) và đặt trình duyệt mặc định, hoặc đặt biến môi trường BROWSER</translation>
    </message>
</context>
<context>
    <name>NotepadFailed</name>
    <message>
        <source>无法启动记事本 (notepad): {}</source>
        <translation>Không khởi động được Notepad (notepad): {}</translation>
    </message>
</context>
<context>
    <name>OperationAdd</name>
    <message>
        <source>添加</source>
        <translation>Thêm</translation>
    </message>
</context>
<context>
    <name>OperationModify</name>
    <message>
        <source>修改</source>
        <translation>Sửa</translation>
    </message>
</context>
<context>
    <name>OperationDelete</name>
    <message>
        <source>删除</source>
        <translation>Xóa</translation>
    </message>
</context>
<context>
    <name>OperationClone</name>
    <message>
        <source>复制为新NPC</source>
        <translation>Sao chép thành NPC mới</translation>
    </message>
</context>
<context>
    <name>StatusFiles</name>
    <message>
        <source>{} 个文件</source>
        <translation>{} tệp</translation>
    </message>
</context>
<context>
    <name>StatusRows</name>
    <message>
        <source>{} 行 (列表 {} 行)</source>
        <translation>{} dòng (danh sách {} dòng)</translation>
    </message>
</context>
<context>
    <name>StatusRowsNotDeleted</name>
    <message>
        <source>({} 行未删除)</source>
        <translation>({} dòng chưa xóa)</translation>
    </message>
</context>
<context>
    <name>DuplicateKeyOf</name>
    <message>
        <source>模板 {}, X {}, Y {}, 偏移 {}/{}</source>
        <translation>mẫu {}, X {}, Y {}, độ lệch {}/{}</translation>
    </message>
</context>
<context>
    <name>DuplicateNotice</name>
    <message>
        <source>注意: </source>
        <translation>Chú ý: </translation>
    </message>
</context>
<context>
    <name>DuplicateInFile</name>
    <message>
        <source> 中有相同键的记录, 修改或删除只会找到第一条: </source>
        <translation> có các bản ghi cùng khóa, sửa hoặc xóa chỉ tìm thấy bản ghi đầu tiên: </translation>
    </message>
</context>
<context>
    <name>DuplicatePair</name>
    <message>
        <source>{} 与 {}</source>
        <translation>{} và {}</translation>
    </message>
</context>
<context>
    <name>DuplicateMore</name>
    <message>
        <source> 等 {} 条</source>
        <translation> cùng {} bản ghi khác</translation>
    </message>
</context>
<context>
    <name>DuplicateGroupsMore</name>
    <message>
        <source>; 另有 {} 组</source>
        <translation>; còn {} nhóm khác</translation>
    </message>
</context>
<context>
    <name>RowsCopied</name>
    <message>
        <source>{} 行已复制到剪贴板</source>
        <translation>Đã chép {} dòng vào bộ nhớ tạm</translation>
    </message>
</context>
<context>
    <name>ClipboardBusy</name>
    <message>
        <source>剪贴板正被另一个程序使用,未复制</source>
        <translation>Bộ nhớ tạm đang bị chương trình khác dùng, chưa chép</translation>
    </message>
</context>
<context>
    <name>ClipboardRefused</name>
    <message>
        <source>剪贴板未接受这些行</source>
        <translation>Bộ nhớ tạm không nhận các dòng này</translation>
    </message>
</context>
<context>
    <name>KeySave</name>
    <message>
        <source>Luu</source>
        <translation>Lưu</translation>
    </message>
</context>
<context>
    <name>KeyDelete</name>
    <message>
        <source>Xoa</source>
        <translation>Xóa</translation>
    </message>
</context>
<context>
    <name>KeyAdd</name>
    <message>
        <source>Them</source>
        <translation>Thêm</translation>
    </message>
</context>
<context>
    <name>KeyFindName</name>
    <message>
        <source>Ten NPC</source>
        <translation>Tên NPC</translation>
    </message>
</context>
<context>
    <name>KeyFindNext</name>
    <message>
        <source>Chi tim mot</source>
        <translation>Chỉ tìm một</translation>
    </message>
</context>
<context>
    <name>KeyReloadMap</name>
    <message>
        <source>重新读取地图</source>
        <translation>Tải lại bản đồ</translation>
    </message>
</context>
<context>
    <name>MenuEdit</name>
    <message>
        <source>编辑</source>
        <translation>Sửa</translation>
    </message>
</context>
<context>
    <name>MenuClone</name>
    <message>
        <source>复制为新NPC</source>
        <translation>Sao chép thành NPC mới</translation>
    </message>
</context>
<context>
    <name>MenuDelete</name>
    <message>
        <source>删除</source>
        <translation>Xóa</translation>
    </message>
</context>
<context>
    <name>MenuMapView</name>
    <message>
        <source>在地图上显示</source>
        <translation>Hiện trên bản đồ</translation>
    </message>
</context>
<context>
    <name>MenuCopyRows</name>
    <message>
        <source>复制行</source>
        <translation>Chép dòng</translation>
    </message>
</context>
<context>
    <name>MenuReloadMap</name>
    <message>
        <source>重新读取地图</source>
        <translation>Tải lại bản đồ</translation>
    </message>
</context>
<context>
    <name>MenuUndo</name>
    <message>
        <source>撤销上一次修改</source>
        <translation>Hoàn tác thay đổi gần nhất</translation>
    </message>
</context>
<context>
    <name>MenuRedo</name>
    <message>
        <source>重做撤销的修改</source>
        <translation>Làm lại thay đổi đã hoàn tác</translation>
    </message>
</context>
<context>
    <name>TemplateFilterCue</name>
    <message>
        <source>筛选</source>
        <translation>Lọc</translation>
    </message>
</context>
<context>
    <name>TemplateFilterTip</name>
    <message>
        <source>筛选NPC原型 (名称或编号); 编号不变</source>
        <translation>Lọc mẫu NPC (tên hoặc số); số thứ tự không đổi</translation>
    </message>
</context>
<context>
    <name>MapViewFitTip</name>
    <message>
        <source>显示整个地图 (1000 × 500)</source>
        <translation>Hiện toàn bộ bản đồ (1000 × 500)</translation>
    </message>
</context>
<context>
    <name>MapViewOther</name>
    <message>
        <source>其他</source>
        <translation>Khác</translation>
    </message>
</context>
<context>
    <name>MapViewMarks</name>
    <message>
        <source>■ 中心黑点 = Script · 数字 = 同一位置的NPC数 · 左键拖动选择 · 右键拖动平移 · 滚轮缩放</source>
        <translation>■ chấm đen ở giữa = Script · số = số NPC cùng vị trí · kéo chuột trái để chọn · kéo chuột phải để di chuyển · con lăn để phóng to</translation>
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
        <translation>Không có thông tin NPC nào</translation>
    </message>
</context>
<context>
    <name>LabelServerFrame</name>
    <message>
        <source>Thu muc Server</source>
        <translation>Thư mục Server</translation>
    </message>
</context>
<context>
    <name>LabelServerStatus</name>
    <message>
        <source>Hien Tai Van Dang Trong Tinh Trang Chua Hoat Dong</source>
        <translation>Hiện tại vẫn đang trong tình trạng chưa hoạt động</translation>
    </message>
</context>
<context>
    <name>LabelBrowseServer</name>
    <message>
        <source>Tim...</source>
        <translation>Tìm...</translation>
    </message>
</context>
<context>
    <name>LabelExit</name>
    <message>
        <source>Thoat</source>
        <translation>Thoát</translation>
    </message>
</context>
<context>
    <name>LabelAdd</name>
    <message>
        <source>Them</source>
        <translation>Thêm</translation>
    </message>
</context>
<context>
    <name>LabelDelete</name>
    <message>
        <source>Xoa</source>
        <translation>Xóa</translation>
    </message>
</context>
<context>
    <name>LabelPosX</name>
    <message>
        <source>Toa Do X</source>
        <translation>Tọa độ X</translation>
    </message>
</context>
<context>
    <name>LabelPosY</name>
    <message>
        <source>Toa Do Y</source>
        <translation>Tọa độ Y</translation>
    </message>
</context>
<context>
    <name>LabelOffsetX</name>
    <message>
        <source>Do Lech X</source>
        <translation>Độ lệch X</translation>
    </message>
</context>
<context>
    <name>LabelOffsetY</name>
    <message>
        <source>Do Lech Y</source>
        <translation>Độ lệch Y</translation>
    </message>
</context>
<context>
    <name>LabelScriptPath</name>
    <message>
        <source>Duong dan den mau Script gan vao NPC:</source>
        <translation>Đường dẫn Script:</translation>
    </message>
</context>
<context>
    <name>LabelBrowseScript</name>
    <message>
        <source>Tim</source>
        <translation>Tìm</translation>
    </message>
</context>
<context>
    <name>LabelExchange</name>
    <message>
        <source>Exchange</source>
        <translation>Đổi</translation>
    </message>
</context>
<context>
    <name>LabelType</name>
    <message>
        <source>NPCType</source>
        <translation>Loại</translation>
    </message>
</context>
<context>
    <name>LabelGroup</name>
    <message>
        <source>NPCGroup</source>
        <translation>Phe</translation>
    </message>
</context>
<context>
    <name>LabelSeries</name>
    <message>
        <source>NPCSeries</source>
        <translation>Hệ</translation>
    </message>
</context>
<context>
    <name>LabelDrop</name>
    <message>
        <source>Droprate</source>
        <translation>Rơi đồ</translation>
    </message>
</context>
<context>
    <name>LabelSave</name>
    <message>
        <source>Luu</source>
        <translation>Lưu</translation>
    </message>
</context>
<context>
    <name>LabelName</name>
    <message>
        <source>Ten NPC</source>
        <translation>Tên NPC</translation>
    </message>
</context>
<context>
    <name>LabelEditScript</name>
    <message>
        <source>Sua</source>
        <translation>Sửa</translation>
    </message>
</context>
<context>
    <name>LabelFindName</name>
    <message>
        <source>Ten NPC</source>
        <translation>Tên NPC</translation>
    </message>
</context>
<context>
    <name>LabelFindAll</name>
    <message>
        <source>Tim kiem tat ca</source>
        <translation>Tìm kiếm tất cả</translation>
    </message>
</context>
<context>
    <name>LabelFindX</name>
    <message>
        <source>Toa Do X</source>
        <translation>Tọa độ X</translation>
    </message>
</context>
<context>
    <name>LabelFindY</name>
    <message>
        <source>Toa Do Y</source>
        <translation>Tọa độ Y</translation>
    </message>
</context>
<context>
    <name>LabelHintPlaceholder</name>
    <message>
        <source>Chon ban do o danh sach ben trai</source>
        <translation>Chọn bản đồ ở danh sách bên trái</translation>
    </message>
</context>
<context>
    <name>LabelModify</name>
    <message>
        <source>Sua</source>
        <translation>Sửa</translation>
    </message>
</context>
<context>
    <name>LabelCancelEdit</name>
    <message>
        <source>Thoat</source>
        <translation>Thoát</translation>
    </message>
</context>
<context>
    <name>LabelFindNext</name>
    <message>
        <source>Chi tim mot</source>
        <translation>Chỉ tìm một</translation>
    </message>
</context>
<context>
    <name>LabelContinue</name>
    <message>
        <source>Tiep Tuc...</source>
        <translation>Tiếp...</translation>
    </message>
</context>
<context>
    <name>LabelContact</name>
    <message>
        <source>MorviNpc @VERSION@
Lien he qua
trang du an:</source>
        <translation>MorviNpc @VERSION@
Liên hệ qua
trang dự án:</translation>
    </message>
</context>
<context>
    <name>ColumnName</name>
    <message>
        <source>Name</source>
        <translation>Tên</translation>
    </message>
</context>
<context>
    <name>ColumnPosX</name>
    <message>
        <source>Pos   x</source>
        <translation>Tọa độ x</translation>
    </message>
</context>
<context>
    <name>ColumnMoveX</name>
    <message>
        <source>x Move</source>
        <translation>Lệch x</translation>
    </message>
</context>
<context>
    <name>ColumnPosY</name>
    <message>
        <source>Pos   y</source>
        <translation>Tọa độ y</translation>
    </message>
</context>
<context>
    <name>ColumnMoveY</name>
    <message>
        <source>y Move</source>
        <translation>Lệch y</translation>
    </message>
</context>
<context>
    <name>ColumnType</name>
    <message>
        <source>Type</source>
        <translation>Loại</translation>
    </message>
</context>
<context>
    <name>ColumnGroup</name>
    <message>
        <source>Group</source>
        <translation>Phe</translation>
    </message>
</context>
<context>
    <name>ColumnSeries</name>
    <message>
        <source>Serie</source>
        <translation>Hệ</translation>
    </message>
</context>
<context>
    <name>ColumnMoney</name>
    <message>
        <source>Money</source>
        <translation>Rơi đồ</translation>
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
        <translation>Giới thiệu</translation>
    </message>
</context>
<context>
    <name>AboutTitleLine</name>
    <message>
        <source>MorviNpc Version @VERSION@</source>
        <translation>MorviNpc phiên bản @VERSION@</translation>
    </message>
</context>
<context>
    <name>AboutPurposeLine</name>
    <message>
        <source>NPC placement editor for map regions</source>
        <translation>Trình sửa vị trí NPC trên các vùng bản đồ</translation>
    </message>
</context>
<context>
    <name>AboutClose</name>
    <message>
        <source>Thoat</source>
        <translation>Thoát</translation>
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
        <translation>Thông tin:</translation>
    </message>
</context>
<context>
    <name>LinkFailed</name>
    <message>
        <source>Failed to create hyperlink 1.</source>
        <translation>Không tạo được liên kết 1.</translation>
    </message>
</context>
<context>
    <name>LinkFailedCaption</name>
    <message>
        <source>Fatal error!</source>
        <translation>Lỗi nghiêm trọng!</translation>
    </message>
</context>
<context>
    <name>DeleteReasonUnreadable</name>
    <message>
        <source>cannot read the region file: cannot open {}</source>
        <translation>không đọc được tệp vùng: không mở được {}</translation>
    </message>
</context>
<context>
    <name>DeleteReasonNoRecord</name>
    <message>
        <source>no record in the file matches the row</source>
        <translation>không có bản ghi nào trong tệp khớp với dòng này</translation>
    </message>
</context>
<context>
    <name>DeleteReasonWriteFailed</name>
    <message>
        <source>write failed</source>
        <translation>ghi thất bại</translation>
    </message>
</context>
<context>
    <name>DeleteReasonWriteFailedBecause</name>
    <message>
        <source>write failed: {}</source>
        <translation>ghi thất bại: {}</translation>
    </message>
</context>
<context>
    <name>CliAbout</name>
    <message>
        <source>morvinpc: list, check and change the NPC placements of a Morvi server's maps.
Exit status: 0 done, 1 refused or findings, 2 usage or input/output error.</source>
        <translation>morvinpc: liệt kê, kiểm tra và thay đổi vị trí NPC trên các bản đồ của server Morvi.
Mã thoát: 0 xong, 1 bị từ chối hoặc có phát hiện, 2 lỗi cách dùng hoặc lỗi nhập/xuất.</translation>
    </message>
</context>
<context>
    <name>CliHelpServer</name>
    <message>
        <source>server directory (default: ServerPath of MorviConfig.ini in the current directory)</source>
        <translation>thư mục server (mặc định: ServerPath trong MorviConfig.ini của thư mục hiện tại)</translation>
    </message>
</context>
<context>
    <name>CliHelpMap</name>
    <message>
        <source>map: its index in `maps`, its display name or its directory</source>
        <translation>bản đồ: số thứ tự trong `maps`, tên hiển thị hoặc thư mục của nó</translation>
    </message>
</context>
<context>
    <name>CliHelpKey</name>
    <message>
        <source>placement key: template,x,y,offset_x,offset_y,file (as `list` shows them)</source>
        <translation>khóa vị trí: template,x,y,offset_x,offset_y,file (như `list` hiển thị)</translation>
    </message>
</context>
<context>
    <name>CliHelpMaps</name>
    <message>
        <source>list the maps (index, display name, directory)</source>
        <translation>liệt kê các bản đồ (số thứ tự, tên hiển thị, thư mục)</translation>
    </message>
</context>
<context>
    <name>CliHelpTableCsvJson</name>
    <message>
        <source>table, csv or json</source>
        <translation>table, csv hoặc json</translation>
    </message>
</context>
<context>
    <name>CliHelpList</name>
    <message>
        <source>list a map's placements in the window's order</source>
        <translation>liệt kê các vị trí của một bản đồ theo thứ tự của cửa sổ</translation>
    </message>
</context>
<context>
    <name>CliHelpListAll</name>
    <message>
        <source>also list the records the window hides, with the rule each breaks</source>
        <translation>liệt kê cả các bản ghi cửa sổ ẩn đi, kèm quy tắc mà mỗi bản ghi vi phạm</translation>
    </message>
</context>
<context>
    <name>CliHelpCheck</name>
    <message>
        <source>check the region files of the tree or of one map (read-only)</source>
        <translation>kiểm tra các tệp vùng của cây thư mục hoặc của một bản đồ (chỉ đọc)</translation>
    </message>
</context>
<context>
    <name>CliHelpAdd</name>
    <message>
        <source>add a placement, as the window's "Them" and "Luu"</source>
        <translation>thêm một vị trí, như "Them" và "Luu" của cửa sổ</translation>
    </message>
</context>
<context>
    <name>CliHelpTemplate</name>
    <message>
        <source>stored template index N (entry N of `npcs.txt`'s data lines)</source>
        <translation>số thứ tự mẫu đã lưu N (mục thứ N trong các dòng dữ liệu của `npcs.txt`)</translation>
    </message>
</context>
<context>
    <name>CliHelpAddFile</name>
    <message>
        <source>region file (relative to the server directory) instead of the window's random choice</source>
        <translation>tệp vùng (tương đối với thư mục server) thay cho lựa chọn ngẫu nhiên của cửa sổ</translation>
    </message>
</context>
<context>
    <name>CliHelpSet</name>
    <message>
        <source>change a placement, as the window's "Sua" and "Luu"</source>
        <translation>thay đổi một vị trí, như "Sua" và "Luu" của cửa sổ</translation>
    </message>
</context>
<context>
    <name>CliHelpClone</name>
    <message>
        <source>add a copy of a placement to its own file, as the window's "复制为新NPC" and "Luu"</source>
        <translation>thêm một bản sao của vị trí vào chính tệp của nó, như "复制为新NPC" và "Luu" của cửa sổ</translation>
    </message>
</context>
<context>
    <name>CliHelpRemove</name>
    <message>
        <source>delete placements, as the window's "Xoa" answered with yes</source>
        <translation>xóa các vị trí, như "Xoa" của cửa sổ khi trả lời có</translation>
    </message>
</context>
<context>
    <name>CliHelpExport</name>
    <message>
        <source>write a map's placements as CSV or JSON for `import`</source>
        <translation>ghi các vị trí của một bản đồ ra CSV hoặc JSON cho `import`</translation>
    </message>
</context>
<context>
    <name>CliHelpCsvJson</name>
    <message>
        <source>csv or json</source>
        <translation>csv hoặc json</translation>
    </message>
</context>
<context>
    <name>CliHelpImport</name>
    <message>
        <source>apply a file of the export's shape: additions, changes and deletions by key and file</source>
        <translation>áp dụng một tệp có dạng của bản xuất: thêm, sửa và xóa theo khóa và tệp</translation>
    </message>
</context>
<context>
    <name>CliHelpImportFile</name>
    <message>
        <source>CSV (or JSON) file as `export` writes it</source>
        <translation>tệp CSV (hoặc JSON) như `export` ghi ra</translation>
    </message>
</context>
<context>
    <name>CliHelpDryRun</name>
    <message>
        <source>show what would change and write nothing</source>
        <translation>hiện những gì sẽ thay đổi và không ghi gì cả</translation>
    </message>
</context>
<context>
    <name>CliHelpHistory</name>
    <message>
        <source>list the change history of the server tree, newest first</source>
        <translation>liệt kê lịch sử thay đổi của cây server, mới nhất trước</translation>
    </message>
</context>
<context>
    <name>CliHelpHistoryJson</name>
    <message>
        <source>write the entries as JSON</source>
        <translation>ghi các mục ra dạng JSON</translation>
    </message>
</context>
<context>
    <name>CliHelpUndo</name>
    <message>
        <source>take back the last change, or change ID, when its files still hold what it wrote</source>
        <translation>hoàn tác thay đổi gần nhất, hoặc thay đổi ID, khi các tệp của nó vẫn giữ những gì nó đã ghi</translation>
    </message>
</context>
<context>
    <name>CliHelpChangeId</name>
    <message>
        <source>id of a change, as `history` lists it</source>
        <translation>mã của một thay đổi, như `history` liệt kê</translation>
    </message>
</context>
<context>
    <name>CliHelpRestore</name>
    <message>
        <source>put a file back as it was before change ID</source>
        <translation>đưa một tệp về như trước thay đổi ID</translation>
    </message>
</context>
<context>
    <name>CliHelpForce</name>
    <message>
        <source>also take back the later changes of that file</source>
        <translation>hoàn tác cả các thay đổi sau đó của tệp ấy</translation>
    </message>
</context>
<context>
    <name>CliHelpName</name>
    <message>
        <source>NPC name ("Ten NPC")</source>
        <translation>tên NPC ("Ten NPC")</translation>
    </message>
</context>
<context>
    <name>CliHelpX</name>
    <message>
        <source>X coordinate ("Toa Do X")</source>
        <translation>tọa độ X ("Toa Do X")</translation>
    </message>
</context>
<context>
    <name>CliHelpY</name>
    <message>
        <source>Y coordinate ("Toa Do Y")</source>
        <translation>tọa độ Y ("Toa Do Y")</translation>
    </message>
</context>
<context>
    <name>CliHelpOffsetX</name>
    <message>
        <source>X offset 0..255 ("Do Lech X"); empty: random</source>
        <translation>độ lệch X 0..255 ("Do Lech X"); để trống: ngẫu nhiên</translation>
    </message>
</context>
<context>
    <name>CliHelpOffsetY</name>
    <message>
        <source>Y offset 0..255 ("Do Lech Y"); empty: random</source>
        <translation>độ lệch Y 0..255 ("Do Lech Y"); để trống: ngẫu nhiên</translation>
    </message>
</context>
<context>
    <name>CliHelpType</name>
    <message>
        <source>type: Enemy, NPC(Fly), NPC(Ground), TalkNPC; empty: none</source>
        <translation>loại: Enemy, NPC(Fly), NPC(Ground), TalkNPC; để trống: không có</translation>
    </message>
</context>
<context>
    <name>CliHelpGroup</name>
    <message>
        <source>group: Enemy, Friend, Jin, Not Hit, Song; empty: none</source>
        <translation>phe: Enemy, Friend, Jin, Not Hit, Song; để trống: không có</translation>
    </message>
</context>
<context>
    <name>CliHelpSeries</name>
    <message>
        <source>series: 0..4; empty: none</source>
        <translation>hệ: 0..4; để trống: không có</translation>
    </message>
</context>
<context>
    <name>CliHelpDrop</name>
    <message>
        <source>drop count 0..24 ("Droprate")</source>
        <translation>số lần rơi đồ 0..24 ("Droprate")</translation>
    </message>
</context>
<context>
    <name>CliHelpScript</name>
    <message>
        <source>script path below the server directory, e.g. \script\npc\guard.lua</source>
        <translation>đường dẫn script dưới thư mục server, ví dụ \script\npc\guard.lua</translation>
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
        <translation>không có thư mục server: hãy dùng --server DIR hoặc đặt ServerPath trong mục [MorviConfig] của MorviConfig.ini ở thư mục hiện tại</translation>
    </message>
</context>
<context>
    <name>CliNotADirectory</name>
    <message>
        <source>server directory {} is not a directory</source>
        <translation>thư mục server {} không phải là thư mục</translation>
    </message>
</context>
<context>
    <name>CliNoMapList</name>
    <message>
        <source>no map list: maps/worldset.ini or settings/maplist.ini below {} is missing or malformed, or its map count is 0</source>
        <translation>không có danh sách bản đồ: maps/worldset.ini hoặc settings/maplist.ini dưới {} bị thiếu hoặc sai dạng, hoặc số bản đồ là 0</translation>
    </message>
</context>
<context>
    <name>CliNoSuchMap</name>
    <message>
        <source>no map {} in the map list (give its index, display name or directory; `morvinpc maps` lists them)</source>
        <translation>không có bản đồ {} trong danh sách bản đồ (hãy dùng số thứ tự, tên hiển thị hoặc thư mục; `morvinpc maps` liệt kê chúng)</translation>
    </message>
</context>
<context>
    <name>CliCannotRead</name>
    <message>
        <source>cannot read {}</source>
        <translation>không đọc được {}</translation>
    </message>
</context>
<context>
    <name>CliCannotReadTemplates</name>
    <message>
        <source>cannot read the template table {}</source>
        <translation>không đọc được bảng mẫu {}</translation>
    </message>
</context>
<context>
    <name>CliCannotReadMapsDirectory</name>
    <message>
        <source>cannot read the maps directory {}</source>
        <translation>không đọc được thư mục bản đồ {}</translation>
    </message>
</context>
<context>
    <name>CliUnknownFormat</name>
    <message>
        <source>unknown format {}</source>
        <translation>định dạng không rõ {}</translation>
    </message>
</context>
<context>
    <name>CliBadKey</name>
    <message>
        <source>KEY must be template,x,y,offset_x,offset_y,file (as `list` shows them), not "{}"</source>
        <translation>KEY phải là template,x,y,offset_x,offset_y,file (như `list` hiển thị), không phải "{}"</translation>
    </message>
</context>
<context>
    <name>CliKeyWithoutFile</name>
    <message>
        <source>KEY names no region file: "{}"</source>
        <translation>KEY không nêu tệp vùng nào: "{}"</translation>
    </message>
</context>
<context>
    <name>CliSomeField</name>
    <message>
        <source>a field</source>
        <translation>một trường</translation>
    </message>
</context>
<context>
    <name>CliNotWholeNumber</name>
    <message>
        <source>{} must be a whole number, not "{}"</source>
        <translation>{} phải là số nguyên, không phải "{}"</translation>
    </message>
</context>
<context>
    <name>CliNotBetween</name>
    <message>
        <source>{} must lie between {} and {}</source>
        <translation>{} phải nằm trong khoảng {} đến {}</translation>
    </message>
</context>
<context>
    <name>CliNotOneOf</name>
    <message>
        <source>{} "{}" is not one of: {} (or empty for none)</source>
        <translation>{} "{}" không thuộc: {} (hoặc để trống nếu không có)</translation>
    </message>
</context>
<context>
    <name>CliNotValid</name>
    <message>
        <source>{} is not valid</source>
        <translation>{} không hợp lệ</translation>
    </message>
</context>
<context>
    <name>CliNotStorable</name>
    <message>
        <source>{} holds a character that code page 936 (GBK) cannot store</source>
        <translation>{} có ký tự mà trang mã 936 (GBK) không lưu được</translation>
    </message>
</context>
<context>
    <name>CliTooManyBytes</name>
    <message>
        <source>{} must take at most {} bytes in code page 936 (GBK)</source>
        <translation>{} chỉ được chiếm tối đa {} byte trong trang mã 936 (GBK)</translation>
    </message>
</context>
<context>
    <name>CliTheRegionFile</name>
    <message>
        <source>the region file</source>
        <translation>tệp vùng</translation>
    </message>
</context>
<context>
    <name>CliNoRegionFileToAddTo</name>
    <message>
        <source>the map has no region file to add to</source>
        <translation>bản đồ không có tệp vùng nào để thêm vào</translation>
    </message>
</context>
<context>
    <name>CliRowGone</name>
    <message>
        <source>the placement is no longer listed</source>
        <translation>vị trí không còn được liệt kê</translation>
    </message>
</context>
<context>
    <name>CliKeyGone</name>
    <message>
        <source>the placement is no longer in {} (changed since it was read?)</source>
        <translation>vị trí không còn trong {} (đã đổi từ lúc đọc?)</translation>
    </message>
</context>
<context>
    <name>CliNotTiled</name>
    <message>
        <source>{}: its records do not fill the file exactly, so it is left alone (see `morvinpc check`)</source>
        <translation>{}: các bản ghi không lấp đầy tệp một cách chính xác nên tệp được để nguyên (xem `morvinpc check`)</translation>
    </message>
</context>
<context>
    <name>CliCountFull</name>
    <message>
        <source>{} already holds 65535 placements, as many as its count can say</source>
        <translation>{} đã chứa 65535 vị trí, mức tối đa mà bộ đếm của nó ghi được</translation>
    </message>
</context>
<context>
    <name>CliHistoryFailed</name>
    <message>
        <source>the change could not be recorded in the change history</source>
        <translation>không ghi được thay đổi vào lịch sử thay đổi</translation>
    </message>
</context>
<context>
    <name>CliLockFailed</name>
    <message>
        <source>{} could not be locked for writing</source>
        <translation>không khóa được {} để ghi</translation>
    </message>
</context>
<context>
    <name>CliWriteFailed</name>
    <message>
        <source>{} could not be written{}; it is as it was</source>
        <translation>không ghi được {}{}; tệp vẫn như cũ</translation>
    </message>
</context>
<context>
    <name>CliChangedMeanwhile</name>
    <message>
        <source>{} changed while the change was being made</source>
        <translation>{} đã thay đổi trong lúc đang thực hiện thay đổi</translation>
    </message>
</context>
<context>
    <name>CliNothingToUndo</name>
    <message>
        <source>nothing to undo</source>
        <translation>không có gì để hoàn tác</translation>
    </message>
</context>
<context>
    <name>CliNothingToRedo</name>
    <message>
        <source>nothing to redo</source>
        <translation>không có gì để làm lại</translation>
    </message>
</context>
<context>
    <name>CliRevertRefused</name>
    <message>
        <source>{} no longer holds the bytes the change wrote</source>
        <translation>{} không còn giữ các byte mà thay đổi đã ghi</translation>
    </message>
</context>
<context>
    <name>CliOperationFailed</name>
    <message>
        <source>the operation failed</source>
        <translation>thao tác thất bại</translation>
    </message>
</context>
<context>
    <name>CliWarnHidden</name>
    <message>
        <source>warning: written, but the window will not list this placement ({})</source>
        <translation>cảnh báo: đã ghi, nhưng cửa sổ sẽ không liệt kê vị trí này ({})</translation>
    </message>
</context>
<context>
    <name>CliWarnKeyShared</name>
    <message>
        <source>warning: {} now holds {} records with the key {}; set and rm reach only the first of them</source>
        <translation>cảnh báo: {} hiện có {} bản ghi với khóa {}; set và rm chỉ tới được bản ghi đầu tiên</translation>
    </message>
</context>
<context>
    <name>CliWarnChangedSinceRead</name>
    <message>
        <source>warning: {} was changed by another program since it was read; list the map again to see it as it is</source>
        <translation>cảnh báo: {} đã bị chương trình khác thay đổi từ lúc được đọc; hãy liệt kê lại bản đồ để thấy nó như hiện tại</translation>
    </message>
</context>
<context>
    <name>CliNoMatch</name>
    <message>
        <source>no placement of map {} matches {}</source>
        <translation>không có vị trí nào của bản đồ {} khớp với {}</translation>
    </message>
</context>
<context>
    <name>CliNotRegionFileOfMap</name>
    <message>
        <source>{} is not a region file of map {}</source>
        <translation>{} không phải là tệp vùng của bản đồ {}</translation>
    </message>
</context>
<context>
    <name>CliAddNeedsTemplate</name>
    <message>
        <source>add needs --template N, the stored index of an NPC template (1..{}); nothing added</source>
        <translation>add cần --template N, số thứ tự đã lưu của một mẫu NPC (1..{}); chưa thêm gì</translation>
    </message>
</context>
<context>
    <name>CliTemplateBetween</name>
    <message>
        <source>--template must lie between 1 and {}</source>
        <translation>--template phải nằm trong khoảng 1 đến {}</translation>
    </message>
</context>
<context>
    <name>CliNothingAddedToMap</name>
    <message>
        <source>nothing added to map {}</source>
        <translation>chưa thêm gì vào bản đồ {}</translation>
    </message>
</context>
<context>
    <name>CliNothingAddedTo</name>
    <message>
        <source>nothing added to {}</source>
        <translation>chưa thêm gì vào {}</translation>
    </message>
</context>
<context>
    <name>CliNothingWritten</name>
    <message>
        <source>nothing written</source>
        <translation>chưa ghi gì</translation>
    </message>
</context>
<context>
    <name>CliNothingRemoved</name>
    <message>
        <source>nothing removed</source>
        <translation>chưa xóa gì</translation>
    </message>
</context>
<context>
    <name>CliNotRemoved</name>
    <message>
        <source>not removed {} "{}": {}</source>
        <translation>chưa xóa {} "{}": {}</translation>
    </message>
</context>
<context>
    <name>CliRemovedOf</name>
    <message>
        <source>removed {} of the {} placements asked for</source>
        <translation>đã xóa {} trong số {} vị trí được yêu cầu</translation>
    </message>
</context>
<context>
    <name>CliCheckTemplateOutside</name>
    <message>
        <source>template index {} outside the template table (the window lists 1..{})</source>
        <translation>số mẫu {} nằm ngoài bảng mẫu (cửa sổ liệt kê 1..{})</translation>
    </message>
</context>
<context>
    <name>CliCheckNameNotGbk</name>
    <message>
        <source>name is not valid GBK: "{}"</source>
        <translation>tên không phải GBK hợp lệ: "{}"</translation>
    </message>
</context>
<context>
    <name>CliCheckScriptNotGbk</name>
    <message>
        <source>script path is not valid GBK: "{}"</source>
        <translation>đường dẫn script không phải GBK hợp lệ: "{}"</translation>
    </message>
</context>
<context>
    <name>CliCheckScriptWithoutBackslash</name>
    <message>
        <source>script path "{}" does not start with '\'</source>
        <translation>đường dẫn script "{}" không bắt đầu bằng '\'</translation>
    </message>
</context>
<context>
    <name>CliCheckScriptMissing</name>
    <message>
        <source>script file "{}" not found under the server directory</source>
        <translation>không tìm thấy tệp script "{}" dưới thư mục server</translation>
    </message>
</context>
<context>
    <name>CliCheckHeaderCutOff</name>
    <message>
        <source>file ends inside the NPC section header ({} bytes)</source>
        <translation>tệp kết thúc giữa phần đầu của mục NPC ({} byte)</translation>
    </message>
</context>
<context>
    <name>CliCheckRecordCutOff</name>
    <message>
        <source>record cut off by the end of the file: {} bytes long, {} present</source>
        <translation>bản ghi bị cắt do hết tệp: dài {} byte, chỉ có {}</translation>
    </message>
</context>
<context>
    <name>CliCheckCountMismatch</name>
    <message>
        <source>placement count {} does not match the {} records that tile the file</source>
        <translation>số vị trí {} không khớp với {} bản ghi lấp đầy tệp</translation>
    </message>
</context>
<context>
    <name>CliCheckSummary</name>
    <message>
        <source>checked {} region files: {} findings in {} files</source>
        <translation>đã kiểm tra {} tệp vùng: {} phát hiện trong {} tệp</translation>
    </message>
</context>
<context>
    <name>CliUnclosedQuote</name>
    <message>
        <source>line {}: a quoted field is not closed</source>
        <translation>dòng {}: một trường trong ngoặc kép chưa được đóng</translation>
    </message>
</context>
<context>
    <name>CliHeaderExpected</name>
    <message>
        <source>the first line must be the export's header: {}</source>
        <translation>dòng đầu phải là dòng tiêu đề của bản xuất: {}</translation>
    </message>
</context>
<context>
    <name>CliFieldCount</name>
    <message>
        <source>line {}: {} fields, {} expected</source>
        <translation>dòng {}: {} trường, cần {}</translation>
    </message>
</context>
<context>
    <name>CliNotJsonArray</name>
    <message>
        <source>not a JSON array of placements</source>
        <translation>không phải mảng JSON các vị trí</translation>
    </message>
</context>
<context>
    <name>CliElementNotObject</name>
    <message>
        <source>element {}: not an object</source>
        <translation>phần tử {}: không phải đối tượng</translation>
    </message>
</context>
<context>
    <name>CliElementWithout</name>
    <message>
        <source>element {}: no "{}"</source>
        <translation>phần tử {}: không có "{}"</translation>
    </message>
</context>
<context>
    <name>CliElementBadValue</name>
    <message>
        <source>element {}: "{}" must be a text or a whole number</source>
        <translation>phần tử {}: "{}" phải là văn bản hoặc số nguyên</translation>
    </message>
</context>
<context>
    <name>CliTemplateNotNumber</name>
    <message>
        <source>template "{}" is not a number</source>
        <translation>mẫu "{}" không phải là số</translation>
    </message>
</context>
<context>
    <name>CliRowFileNotOfMap</name>
    <message>
        <source>"{}" is not a region file of map {}</source>
        <translation>"{}" không phải là tệp vùng của bản đồ {}</translation>
    </message>
</context>
<context>
    <name>CliTemplateNotInTable</name>
    <message>
        <source>template {} is not in the template table (1..{})</source>
        <translation>mẫu {} không có trong bảng mẫu (1..{})</translation>
    </message>
</context>
<context>
    <name>CliRecordCutOff</name>
    <message>
        <source>the record at offset {} is cut off by the end of the file; the file is left alone (see `morvinpc check`)</source>
        <translation>bản ghi ở vị trí {} bị cắt do hết tệp; tệp được để nguyên (xem `morvinpc check`)</translation>
    </message>
</context>
<context>
    <name>CliPlanAdd</name>
    <message>
        <source>add    {}: "{}"</source>
        <translation>thêm   {}: "{}"</translation>
    </message>
</context>
<context>
    <name>CliPlanDelete</name>
    <message>
        <source>delete {}: "{}"</source>
        <translation>xóa    {}: "{}"</translation>
    </message>
</context>
<context>
    <name>CliPlanChange</name>
    <message>
        <source>change {}: {}</source>
        <translation>sửa    {}: {}</translation>
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
        <translation>không có gì để nhập: bản đồ {} đã khớp với {}</translation>
    </message>
</context>
<context>
    <name>CliImportCounts</name>
    <message>
        <source>{} additions, {} changes, {} deletions in {} region files</source>
        <translation>{} thêm, {} sửa, {} xóa trong {} tệp vùng</translation>
    </message>
</context>
<context>
    <name>CliDryRun</name>
    <message>
        <source>dry run: no file written</source>
        <translation>chạy thử: không ghi tệp nào</translation>
    </message>
</context>
<context>
    <name>CliImportStopped</name>
    <message>
        <source>import stopped: {}</source>
        <translation>đã dừng nhập: {}</translation>
    </message>
</context>
<context>
    <name>CliNoRegionFileChanged</name>
    <message>
        <source>no region file changed</source>
        <translation>không tệp vùng nào bị thay đổi</translation>
    </message>
</context>
<context>
    <name>CliRestoreFailed</name>
    <message>
        <source>could not restore the files already written, they hold the imported content: {}</source>
        <translation>không khôi phục được các tệp đã ghi, chúng đang giữ nội dung đã nhập: {}</translation>
    </message>
</context>
<context>
    <name>CliWrote</name>
    <message>
        <source>wrote {} region files</source>
        <translation>đã ghi {} tệp vùng</translation>
    </message>
</context>
<context>
    <name>CliHistoryStep</name>
    <message>
        <source>step {}</source>
        <translation>bước {}</translation>
    </message>
</context>
<context>
    <name>CliHistoryRecords</name>
    <message>
        <source>{} records</source>
        <translation>{} bản ghi</translation>
    </message>
</context>
<context>
    <name>CliNoSuchChange</name>
    <message>
        <source>there is no change {} in the history; nothing written</source>
        <translation>không có thay đổi {} trong lịch sử; chưa ghi gì</translation>
    </message>
</context>
<context>
    <name>CliNoChangeToUndo</name>
    <message>
        <source>no change to undo in the history of {}</source>
        <translation>không có thay đổi nào để hoàn tác trong lịch sử của {}</translation>
    </message>
</context>
<context>
    <name>CliUndoOfChange</name>
    <message>
        <source>undo of change {}</source>
        <translation>hoàn tác thay đổi {}</translation>
    </message>
</context>
<context>
    <name>CliRestoreOfChange</name>
    <message>
        <source>restore of the file before change {}</source>
        <translation>khôi phục tệp về trước thay đổi {}</translation>
    </message>
</context>
<context>
    <name>CliRevertNotDone</name>
    <message>
        <source>{} refused: {}</source>
        <translation>{} bị từ chối: {}</translation>
    </message>
</context>
<context>
    <name>CliRevertDone</name>
    <message>
        <source>{} done as change {}: {}</source>
        <translation>{} đã xong thành thay đổi {}: {}</translation>
    </message>
</context>
<context>
    <name>CliVersionHelp</name>
    <message>
        <source>print the version and exit</source>
        <translation>in phiên bản rồi thoát</translation>
    </message>
</context>
<context>
    <name>UserConfigNoHome</name>
    <message>
        <source>无法确定配置目录 (XDG_CONFIG_HOME 与 HOME 都不是绝对路径), MorviConfig.ini 将保存在当前目录</source>
        <translation>Không xác định được thư mục cấu hình (cả XDG_CONFIG_HOME và HOME đều không phải đường dẫn tuyệt đối), MorviConfig.ini sẽ được lưu trong thư mục hiện tại</translation>
    </message>
</context>
<context>
    <name>UserConfigUnusable</name>
    <message>
        <source>无法使用配置目录 {}: {}, MorviConfig.ini 将保存在当前目录</source>
        <translation>Không dùng được thư mục cấu hình {}: {}, MorviConfig.ini sẽ được lưu trong thư mục hiện tại</translation>
    </message>
</context>
<context>
    <name>ListFilterCue</name>
    <message>
        <source>筛选NPC配置</source>
        <translation>Lọc vị trí NPC</translation>
    </message>
</context>
<context>
    <name>ListFilterTip</name>
    <message>
        <source>筛选NPC配置: 空格分隔的条件都须满足; 字段:值 (name template x y ox oy type group series drop script file), 数字可写 N 或 A-B; 其他文字匹配名称、脚本或文件</source>
        <translation>Lọc vị trí NPC: mọi điều kiện cách nhau bằng dấu cách đều phải thỏa; trường:giá trị (name template x y ox oy type group series drop script file), số viết N hoặc A-B; chữ khác khớp với tên, script hoặc tệp</translation>
    </message>
</context>
<context>
    <name>ListShown</name>
    <message>
        <source>显示 {} / {} 行</source>
        <translation>Hiện {} / {} dòng</translation>
    </message>
</context>
<context>
    <name>ListSelected</name>
    <message>
        <source>选中 {} 行</source>
        <translation>Đã chọn {} dòng</translation>
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
        <translation>Điều kiện lọc {}: trường không rõ</translation>
    </message>
</context>
<context>
    <name>FilterBadNumber</name>
    <message>
        <source>筛选条件 {} 的数字无效 (应为 N 或 A-B)</source>
        <translation>Điều kiện lọc {}: số không hợp lệ (phải là N hoặc A-B)</translation>
    </message>
</context>
<context>
    <name>FilterBadRange</name>
    <message>
        <source>筛选条件 {} 的范围颠倒 (A-B 中 A 大于 B)</source>
        <translation>Điều kiện lọc {}: khoảng bị đảo ngược (A lớn hơn B trong A-B)</translation>
    </message>
</context>
<context>
    <name>FilterUnknownName</name>
    <message>
        <source>筛选条件 {} 的名称或代码未知</source>
        <translation>Điều kiện lọc {}: tên hoặc mã không rõ</translation>
    </message>
</context>
<context>
    <name>OperationUndo</name>
    <message>
        <source>撤销</source>
        <translation>Hoàn tác</translation>
    </message>
</context>
<context>
    <name>OperationRedo</name>
    <message>
        <source>重做</source>
        <translation>Làm lại</translation>
    </message>
</context>
<context>
    <name>StatusStepBack</name>
    <message>
        <source>{}  {}  第 {} 步  {}</source>
        <translation>{}  {}  bước {}  {}</translation>
    </message>
</context>
<context>
    <name>MenuBulkEdit</name>
    <message>
        <source>批量修改…</source>
        <translation>Sửa hàng loạt…</translation>
    </message>
</context>
<context>
    <name>BulkEditCaption</name>
    <message>
        <source>批量修改</source>
        <translation>Sửa hàng loạt</translation>
    </message>
</context>
<context>
    <name>BulkEditLeave</name>
    <message>
        <source>(不变)</source>
        <translation>(không đổi)</translation>
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
        <translation>Dời dX / dY</translation>
    </message>
</context>
<context>
    <name>BulkEditNoSelection</name>
    <message>
        <source>请先在列表中选择要批量修改的NPC!</source>
        <translation>Hãy chọn các NPC cần sửa hàng loạt trong danh sách trước!</translation>
    </message>
</context>
<context>
    <name>BulkEditNothingSet</name>
    <message>
        <source>没有设置要修改的项目,未修改任何NPC!</source>
        <translation>Chưa đặt mục nào cần sửa, không NPC nào bị thay đổi!</translation>
    </message>
</context>
<context>
    <name>BulkEditBadNumber</name>
    <message>
        <source>{} 必须是整数,未修改任何NPC!</source>
        <translation>{} phải là số nguyên, không NPC nào bị thay đổi!</translation>
    </message>
</context>
<context>
    <name>BulkEditDone</name>
    <message>
        <source>批量修改完成!选中[{}]条,实际修改[{}]条!</source>
        <translation>Sửa hàng loạt xong! Đã chọn [{}] mục, thực tế đã sửa [{}] mục!</translation>
    </message>
</context>
<context>
    <name>BulkEditRowsRefused</name>
    <message>
        <source>{} 条未修改: {}</source>
        <translation>{} mục chưa sửa: {}</translation>
    </message>
</context>
<context>
    <name>BulkEditMore</name>
    <message>
        <source> 等 {} 条</source>
        <translation> cùng {} mục khác</translation>
    </message>
</context>
<context>
    <name>OperationBulkEdit</name>
    <message>
        <source>批量修改</source>
        <translation>Sửa hàng loạt</translation>
    </message>
</context>
<context>
    <name>MapViewEditMarks</name>
    <message>
        <source>拖动选中的点 = 移动 · 双击空白处 = 新NPC · Del = 删除选中</source>
        <translation>Kéo các điểm đã chọn = di chuyển · nhấp đúp chỗ trống = NPC mới · Del = xóa mục đã chọn</translation>
    </message>
</context>
<context>
    <name>OperationMapMove</name>
    <message>
        <source>地图上移动</source>
        <translation>Di chuyển trên bản đồ</translation>
    </message>
</context>
<context>
    <name>BulkEditClearScript</name>
    <message>
        <source>清除 Script</source>
        <translation>Xóa Script</translation>
    </message>
</context>
<context>
    <name>CliHelpCheckFormat</name>
    <message>
        <source>table (what the server trips over) or json (every finding with its stable code)</source>
        <translation>table (những gì làm server vấp) hoặc json (mọi phát hiện kèm mã cố định của nó)</translation>
    </message>
</context>
<context>
    <name>CliHelpCheckAll</name>
    <message>
        <source>the table also lists hidden records, duplicate keys and exact duplicates</source>
        <translation>bảng liệt kê cả các bản ghi bị ẩn, các khóa trùng và các bản trùng hoàn toàn</translation>
    </message>
</context>
<context>
    <name>CliCheckHidden</name>
    <message>
        <source>the window does not list this record: {}</source>
        <translation>cửa sổ không liệt kê bản ghi này: {}</translation>
    </message>
</context>
<context>
    <name>CliHiddenEmptyName</name>
    <message>
        <source>its name is empty</source>
        <translation>tên của nó trống</translation>
    </message>
</context>
<context>
    <name>CliHiddenTemplateZero</name>
    <message>
        <source>its template index is 0</source>
        <translation>số mẫu của nó là 0</translation>
    </message>
</context>
<context>
    <name>CliHiddenTemplateBeyond</name>
    <message>
        <source>its template index is beyond the template table</source>
        <translation>số mẫu của nó vượt quá bảng mẫu</translation>
    </message>
</context>
<context>
    <name>CliHiddenXTooLarge</name>
    <message>
        <source>x is not below 1000</source>
        <translation>x không nhỏ hơn 1000</translation>
    </message>
</context>
<context>
    <name>CliHiddenYTooLarge</name>
    <message>
        <source>y is not below 500</source>
        <translation>y không nhỏ hơn 500</translation>
    </message>
</context>
<context>
    <name>CliHiddenNotCounted</name>
    <message>
        <source>the placement count does not include it</source>
        <translation>số vị trí không tính đến nó</translation>
    </message>
</context>
<context>
    <name>CliCheckDuplicateKey</name>
    <message>
        <source>a second record with the key {} of the record at offset {}: changes and deletions by key never reach it</source>
        <translation>bản ghi thứ hai có khóa {} của bản ghi ở vị trí {}: sửa và xóa theo khóa không bao giờ tới được nó</translation>
    </message>
</context>
<context>
    <name>CliCheckExactDuplicate</name>
    <message>
        <source>the same placement, byte for byte, as the one at {}:{}</source>
        <translation>cùng một vị trí, giống từng byte, với vị trí ở {}:{}</translation>
    </message>
</context>
<context>
    <name>CliHelpDiff</name>
    <message>
        <source>list the placements this tree adds, changes and removes compared with another server tree</source>
        <translation>liệt kê các vị trí mà cây này thêm, sửa và xóa so với một cây server khác</translation>
    </message>
</context>
<context>
    <name>CliHelpDiffOther</name>
    <message>
        <source>the other server directory</source>
        <translation>thư mục server kia</translation>
    </message>
</context>
<context>
    <name>CliHelpDiffFormat</name>
    <message>
        <source>table; csv: the map's rows for `import` on the other tree; or json: every difference, with stable codes</source>
        <translation>table; csv: các dòng của bản đồ cho `import` trên cây kia; hoặc json: mọi khác biệt, với mã cố định</translation>
    </message>
</context>
<context>
    <name>CliDiffMap</name>
    <message>
        <source>map {} "{}" ({}){}: {} added, {} changed, {} removed</source>
        <translation>bản đồ {} "{}" ({}){}: {} thêm, {} sửa, {} xóa</translation>
    </message>
</context>
<context>
    <name>CliDiffOtherMap</name>
    <message>
        <source>the other tree's map {} "{}" ({}): only in the other tree: {} added, {} changed, {} removed</source>
        <translation>bản đồ {} "{}" ({}) của cây kia: chỉ có ở cây kia: {} thêm, {} sửa, {} xóa</translation>
    </message>
</context>
<context>
    <name>CliDiffMapOnlyHereNote</name>
    <message>
        <source>: only in this tree</source>
        <translation>: chỉ có ở cây này</translation>
    </message>
</context>
<context>
    <name>CliDiffOtherIndexNote</name>
    <message>
        <source>, index {} in the other tree</source>
        <translation>, số thứ tự {} ở cây kia</translation>
    </message>
</context>
<context>
    <name>CliDiffFileOnlyHere</name>
    <message>
        <source>{} (only in this tree)</source>
        <translation>{} (chỉ có ở cây này)</translation>
    </message>
</context>
<context>
    <name>CliDiffFileOnlyThere</name>
    <message>
        <source>{} (only in the other tree)</source>
        <translation>{} (chỉ có ở cây kia)</translation>
    </message>
</context>
<context>
    <name>CliDiffNotCarried</name>
    <message>
        <source>not carried by import: {}</source>
        <translation>import không mang sang được: {}</translation>
    </message>
</context>
<context>
    <name>CliDiffAdded</name>
    <message>
        <source>added    {} "{}"</source>
        <translation>thêm     {} "{}"</translation>
    </message>
</context>
<context>
    <name>CliDiffRemoved</name>
    <message>
        <source>removed  {} "{}"</source>
        <translation>xóa      {} "{}"</translation>
    </message>
</context>
<context>
    <name>CliDiffChanged</name>
    <message>
        <source>changed  {}: {}</source>
        <translation>sửa      {}: {}</translation>
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
        <translation>các byte không cột nào hiển thị</translation>
    </message>
</context>
<context>
    <name>CliDiffOccurrence</name>
    <message>
        <source> (record {} of this key)</source>
        <translation> (bản ghi thứ {} của khóa này)</translation>
    </message>
</context>
<context>
    <name>CliDiffSummary</name>
    <message>
        <source>{} maps differ</source>
        <translation>{} bản đồ khác nhau</translation>
    </message>
</context>
<context>
    <name>CliDiffSummaryNotCarried</name>
    <message>
        <source>{} maps differ; {} differences cannot be carried by import</source>
        <translation>{} bản đồ khác nhau; {} khác biệt không mang sang được bằng import</translation>
    </message>
</context>
<context>
    <name>CliDiffNothingToWrite</name>
    <message>
        <source>no differences: nothing to write</source>
        <translation>không có khác biệt: không có gì để ghi</translation>
    </message>
</context>
<context>
    <name>CliDiffNameTheMap</name>
    <message>
        <source>{} maps differ; import applies one map at a time, so name the map:</source>
        <translation>{} bản đồ khác nhau; import áp dụng từng bản đồ một, vậy hãy nêu bản đồ:</translation>
    </message>
</context>
<context>
    <name>CliDiffMapOneSide</name>
    <message>
        <source>map {}: {}; import cannot carry it</source>
        <translation>bản đồ {}: {}; import không mang sang được</translation>
    </message>
</context>
<context>
    <name>CliDiffNoMap</name>
    <message>
        <source>no map {} to compare</source>
        <translation>không có bản đồ {} để so sánh</translation>
    </message>
</context>
<context>
    <name>CliDiffNotCarriedAt</name>
    <message>
        <source>not carried by import: {}: {}</source>
        <translation>import không mang sang được: {}: {}</translation>
    </message>
</context>
<context>
    <name>CliDiffApplyWith</name>
    <message>
        <source>apply with: morvinpc --server {} import {} FILE</source>
        <translation>áp dụng bằng: morvinpc --server {} import {} FILE</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyHiddenHere</name>
    <message>
        <source>the window hides it in this tree, so the export leaves it out</source>
        <translation>cửa sổ ẩn nó ở cây này, nên bản xuất bỏ nó đi</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyHiddenThere</name>
    <message>
        <source>the window hides it in the other tree, and import never deletes such a record</source>
        <translation>cửa sổ ẩn nó ở cây kia, và import không bao giờ xóa bản ghi như vậy</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyNotAtEnd</name>
    <message>
        <source>it stands before records both trees hold, and import appends new records at the end of the file</source>
        <translation>nó đứng trước các bản ghi mà cả hai cây đều có, còn import thêm bản ghi mới vào cuối tệp</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyOrder</name>
    <message>
        <source>records both trees hold stand in another order</source>
        <translation>các bản ghi mà cả hai cây đều có nằm theo thứ tự khác</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyBytesNotShown</name>
    <message>
        <source>bytes that no column shows differ</source>
        <translation>các byte không cột nào hiển thị khác nhau</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyNotRepresentable</name>
    <message>
        <source>its row's texts do not read back to the same bytes</source>
        <translation>văn bản trong dòng của nó không đọc ngược lại thành cùng các byte</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyKeyShared</name>
    <message>
        <source>its key is shared with records the window hides, which pair otherwise</source>
        <translation>khóa của nó trùng với các bản ghi bị cửa sổ ẩn, vốn ghép cặp theo cách khác</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyFileOnlyHere</name>
    <message>
        <source>the region file exists only in this tree, and import creates no file</source>
        <translation>tệp vùng chỉ có ở cây này, và import không tạo tệp</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyFileOnlyThere</name>
    <message>
        <source>the region file exists only in the other tree; import would empty it but not remove it</source>
        <translation>tệp vùng chỉ có ở cây kia; import sẽ làm trống nó nhưng không xóa nó</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyForeign</name>
    <message>
        <source>the file's bytes outside the placement records differ</source>
        <translation>các byte của tệp nằm ngoài các bản ghi vị trí khác nhau</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyMapOnlyHere</name>
    <message>
        <source>the map is only in this tree's map list</source>
        <translation>bản đồ chỉ có trong danh sách bản đồ của cây này</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyMapOnlyThere</name>
    <message>
        <source>the map is only in the other tree's map list</source>
        <translation>bản đồ chỉ có trong danh sách bản đồ của cây kia</translation>
    </message>
</context>
<context>
    <name>CliDiffWhyUnreadable</name>
    <message>
        <source>the region file cannot be read</source>
        <translation>không đọc được tệp vùng</translation>
    </message>
</context>
<context>
    <name>CliHelpFind</name>
    <message>
        <source>find placements in every map of the map list</source>
        <translation>tìm các vị trí trong mọi bản đồ của danh sách bản đồ</translation>
    </message>
</context>
<context>
    <name>CliHelpFindFilter</name>
    <message>
        <source>filter: terms such as name:guard x:100-200 type:TalkNPC script:* (all must match)</source>
        <translation>bộ lọc: các điều kiện như name:guard x:100-200 type:TalkNPC script:* (tất cả phải khớp)</translation>
    </message>
</context>
<context>
    <name>CliFindBadFilter</name>
    <message>
        <source>filter term "{}": {}</source>
        <translation>điều kiện lọc "{}": {}</translation>
    </message>
</context>
<context>
    <name>CliFilterUnknownField</name>
    <message>
        <source>unknown field (name template x y ox oy type group series drop script file)</source>
        <translation>trường không rõ (name template x y ox oy type group series drop script file)</translation>
    </message>
</context>
<context>
    <name>CliFilterBadNumber</name>
    <message>
        <source>not a number N or a range A-B</source>
        <translation>không phải số N hay khoảng A-B</translation>
    </message>
</context>
<context>
    <name>CliFilterBadRange</name>
    <message>
        <source>a range A-B with A greater than B</source>
        <translation>khoảng A-B có A lớn hơn B</translation>
    </message>
</context>
<context>
    <name>CliFilterUnknownName</name>
    <message>
        <source>neither a shown name nor a code</source>
        <translation>không phải tên hiển thị cũng không phải mã</translation>
    </message>
</context>
<context>
    <name>CliFindMapSkipped</name>
    <message>
        <source>map {} "{}" skipped: cannot read {}</source>
        <translation>đã bỏ qua bản đồ {} "{}": không đọc được {}</translation>
    </message>
</context>
<context>
    <name>CliFindSummary</name>
    <message>
        <source>{} placements in {} of {} maps match</source>
        <translation>{} vị trí trong {} trên {} bản đồ khớp</translation>
    </message>
</context>
<context>
    <name>ProblemsCaption</name>
    <message>
        <source>问题列表</source>
        <translation>Sự cố</translation>
    </message>
</context>
<context>
    <name>ProblemsMenu</name>
    <message>
        <source>问题列表…</source>
        <translation>Sự cố…</translation>
    </message>
</context>
<context>
    <name>ProblemsColumnMap</name>
    <message>
        <source>地图</source>
        <translation>Bản đồ</translation>
    </message>
</context>
<context>
    <name>ProblemsColumnFile</name>
    <message>
        <source>文件</source>
        <translation>Tệp</translation>
    </message>
</context>
<context>
    <name>ProblemsColumnOffset</name>
    <message>
        <source>偏移</source>
        <translation>Vị trí</translation>
    </message>
</context>
<context>
    <name>ProblemsColumnRow</name>
    <message>
        <source>行</source>
        <translation>Dòng</translation>
    </message>
</context>
<context>
    <name>ProblemsColumnReason</name>
    <message>
        <source>问题</source>
        <translation>Sự cố</translation>
    </message>
</context>
<context>
    <name>ProblemsCheckMap</name>
    <message>
        <source>检查本地图</source>
        <translation>Kiểm tra bản đồ này</translation>
    </message>
</context>
<context>
    <name>ProblemsCheckEveryMap</name>
    <message>
        <source>检查所有地图</source>
        <translation>Kiểm tra mọi bản đồ</translation>
    </message>
</context>
<context>
    <name>ProblemsCancel</name>
    <message>
        <source>取消</source>
        <translation>Hủy</translation>
    </message>
</context>
<context>
    <name>ProblemsFixDuplicate</name>
    <message>
        <source>删除重复的记录</source>
        <translation>Xóa bản ghi trùng</translation>
    </message>
</context>
<context>
    <name>ProblemsFixHidden</name>
    <message>
        <source>删除隐藏的记录</source>
        <translation>Xóa bản ghi ẩn</translation>
    </message>
</context>
<context>
    <name>ProblemsNoFix</name>
    <message>
        <source>(无安全修复)</source>
        <translation>(không có cách sửa an toàn)</translation>
    </message>
</context>
<context>
    <name>ProblemsProgress</name>
    <message>
        <source>正在检查 {} / {} 个地图: {}</source>
        <translation>Đang kiểm tra {} / {} bản đồ: {}</translation>
    </message>
</context>
<context>
    <name>ProblemsSummary</name>
    <message>
        <source>{} 个问题, 检查了 {} 个地图的 {} 个文件</source>
        <translation>{} sự cố, đã kiểm tra {} bản đồ, {} tệp</translation>
    </message>
</context>
<context>
    <name>ProblemsCancelled</name>
    <message>
        <source>已取消: {} 个问题, 检查了 {} 个地图的 {} 个文件</source>
        <translation>Đã hủy: {} sự cố, đã kiểm tra {} bản đồ, {} tệp</translation>
    </message>
</context>
<context>
    <name>ProblemsNoMap</name>
    <message>
        <source>请先选择地图</source>
        <translation>Hãy chọn bản đồ trước</translation>
    </message>
</context>
<context>
    <name>ProblemsMapSkipped</name>
    <message>
        <source>无法读取地图列表</source>
        <translation>Không đọc được danh sách bản đồ</translation>
    </message>
</context>
<context>
    <name>ProblemsUnreadable</name>
    <message>
        <source>无法读取此文件</source>
        <translation>Không đọc được tệp này</translation>
    </message>
</context>
<context>
    <name>ProblemsHeaderCutOff</name>
    <message>
        <source>文件在NPC段头内结束 ({} 字节)</source>
        <translation>Tệp kết thúc giữa đầu đoạn NPC ({} byte)</translation>
    </message>
</context>
<context>
    <name>ProblemsRecordCutOff</name>
    <message>
        <source>记录被文件结尾截断: 长 {} 字节, 只有 {} 字节</source>
        <translation>Bản ghi bị cắt bởi cuối tệp: dài {} byte, chỉ có {} byte</translation>
    </message>
</context>
<context>
    <name>ProblemsForeignBytes</name>
    <message>
        <source>最后一条记录后有不成记录的字节: 需 {} 字节, 只有 {} 字节</source>
        <translation>Các byte sau bản ghi cuối không thành bản ghi: cần {} byte, chỉ có {} byte</translation>
    </message>
</context>
<context>
    <name>ProblemsCountMismatch</name>
    <message>
        <source>NPC数量 {} 与文件中的 {} 条记录不符</source>
        <translation>Số NPC {} không khớp với {} bản ghi trong tệp</translation>
    </message>
</context>
<context>
    <name>ProblemsTemplateOutside</name>
    <message>
        <source>模板编号 {} 不在模板表内 (列表只显示 1..{}), 列表不显示此记录</source>
        <translation>Mẫu {} không có trong bảng mẫu (danh sách chỉ hiện 1..{}); danh sách không hiện bản ghi này</translation>
    </message>
</context>
<context>
    <name>ProblemsHidden</name>
    <message>
        <source>列表不显示此记录: {}</source>
        <translation>Danh sách không hiện bản ghi này: {}</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenEmptyName</name>
    <message>
        <source>名称为空</source>
        <translation>tên trống</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenTemplateZero</name>
    <message>
        <source>模板编号为 0</source>
        <translation>mẫu số 0</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenTemplateBeyond</name>
    <message>
        <source>模板编号超出模板表</source>
        <translation>mẫu vượt quá bảng mẫu</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenXTooLarge</name>
    <message>
        <source>X 不小于 1000</source>
        <translation>X từ 1000 trở lên</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenYTooLarge</name>
    <message>
        <source>Y 不小于 500</source>
        <translation>Y từ 500 trở lên</translation>
    </message>
</context>
<context>
    <name>ProblemsHiddenNotCounted</name>
    <message>
        <source>不在NPC数量之内</source>
        <translation>nằm ngoài số NPC</translation>
    </message>
</context>
<context>
    <name>ProblemsNameNotGbk</name>
    <message>
        <source>名称含有不是 GBK 的字节</source>
        <translation>Tên chứa byte không phải GBK</translation>
    </message>
</context>
<context>
    <name>ProblemsScriptNotGbk</name>
    <message>
        <source>脚本路径含有不是 GBK 的字节</source>
        <translation>Đường dẫn script chứa byte không phải GBK</translation>
    </message>
</context>
<context>
    <name>ProblemsScriptWithoutBackslash</name>
    <message>
        <source>脚本路径 {} 不以 \ 开头</source>
        <translation>Đường dẫn script {} không bắt đầu bằng \</translation>
    </message>
</context>
<context>
    <name>ProblemsScriptMissing</name>
    <message>
        <source>脚本文件 {} 在服务器目录下不存在</source>
        <translation>Tệp script {} không có trong thư mục máy chủ</translation>
    </message>
</context>
<context>
    <name>ProblemsDuplicateKey</name>
    <message>
        <source>与偏移 {} 的记录键相同, 修改和删除只会找到前一条</source>
        <translation>Cùng khóa với bản ghi ở vị trí {}: sửa và xóa chỉ tìm thấy bản ghi trước</translation>
    </message>
</context>
<context>
    <name>ProblemsExactDuplicate</name>
    <message>
        <source>与 {}:{} 的记录完全相同 (同一位置重复)</source>
        <translation>Giống hệt bản ghi ở {}:{} (trùng một chỗ)</translation>
    </message>
</context>
<context>
    <name>ProblemsRowNotListed</name>
    <message>
        <source>列表不显示这条记录</source>
        <translation>Danh sách không hiện bản ghi này</translation>
    </message>
</context>
<context>
    <name>ProblemsRowFilteredOut</name>
    <message>
        <source>这条记录被列表的筛选条件隐藏</source>
        <translation>Bộ lọc của danh sách đang ẩn bản ghi này</translation>
    </message>
</context>
<context>
    <name>ProblemsRowGone</name>
    <message>
        <source>列表中已没有这条记录, 请重新检查</source>
        <translation>Bản ghi này không còn trong danh sách; hãy kiểm tra lại</translation>
    </message>
</context>
<context>
    <name>ProblemsFixQuestion</name>
    <message>
        <source>从 {} 删除这条记录?
{}</source>
        <translation>Xóa bản ghi này khỏi {}?
{}</translation>
    </message>
</context>
<context>
    <name>ProblemsFixDone</name>
    <message>
        <source>已删除 1 条记录 (Ctrl+Z 撤销)</source>
        <translation>Đã xóa 1 bản ghi (Ctrl+Z để hoàn tác)</translation>
    </message>
</context>
<context>
    <name>ProblemsFixRefused</name>
    <message>
        <source>未删除: 文件已改变, 请重新检查 ({})</source>
        <translation>Chưa xóa: tệp đã thay đổi; hãy kiểm tra lại ({})</translation>
    </message>
</context>
<context>
    <name>ProblemsFixOtherMap</name>
    <message>
        <source>请先读取这个地图再修复</source>
        <translation>Hãy tải bản đồ này trước khi sửa</translation>
    </message>
</context>
<context>
    <name>ProblemsKeyTip</name>
    <message>
        <source>问题列表 (Ctrl+Shift+M)</source>
        <translation>Sự cố (Ctrl+Shift+M)</translation>
    </message>
</context>
<context>
    <name>DiskChangedOne</name>
    <message>
        <source>{} 已被其他程序修改 — 按 F5 重新读取</source>
        <translation>{} đã bị chương trình khác sửa — nhấn F5 để tải lại</translation>
    </message>
</context>
<context>
    <name>DiskChangedMany</name>
    <message>
        <source>{} 等 {} 个文件已被其他程序修改 — 按 F5 重新读取</source>
        <translation>{} và các tệp khác, {} tệp, đã bị chương trình khác sửa — nhấn F5 để tải lại</translation>
    </message>
</context>
<context>
    <name>DiskReloaded</name>
    <message>
        <source>已重新读取地图: {} 行</source>
        <translation>Đã tải lại bản đồ: {} dòng</translation>
    </message>
</context>
<context>
    <name>MenuLanguage</name>
    <message>
        <source>语言 / Language</source>
        <translation>Ngôn ngữ / Language</translation>
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
        <translation>Tìm trong mọi bản đồ</translation>
    </message>
</context>
<context>
    <name>FindAllFilterCue</name>
    <message>
        <source>筛选条件, 例如 name:守卫 x:100-200 type:TalkNPC script:*</source>
        <translation>Bộ lọc, ví dụ name:Vệ x:100-200 type:TalkNPC script:*</translation>
    </message>
</context>
<context>
    <name>FindAllFilterTip</name>
    <message>
        <source>字段: name template x y ox oy type group series drop script file; 多个条件须全部满足; 回车开始查找</source>
        <translation>Trường: name template x y ox oy type group series drop script file; mọi điều kiện phải khớp; Enter để bắt đầu tìm</translation>
    </message>
</context>
<context>
    <name>FindAllSearch</name>
    <message>
        <source>查找</source>
        <translation>Tìm</translation>
    </message>
</context>
<context>
    <name>FindAllStop</name>
    <message>
        <source>停止</source>
        <translation>Dừng</translation>
    </message>
</context>
<context>
    <name>FindAllColumnMap</name>
    <message>
        <source>地图</source>
        <translation>Bản đồ</translation>
    </message>
</context>
<context>
    <name>FindAllColumnFile</name>
    <message>
        <source>文件</source>
        <translation>Tệp</translation>
    </message>
</context>
<context>
    <name>FindAllRunning</name>
    <message>
        <source>正在查找: 地图 {}/{} {} · 文件 {}/{} · 已找到 {} 条</source>
        <translation>Đang tìm: bản đồ {}/{} {} · tệp {}/{} · đã tìm thấy {}</translation>
    </message>
</context>
<context>
    <name>FindAllDone</name>
    <message>
        <source>找到 {} 条, 在 {} 个地图中 (共 {} 个地图)</source>
        <translation>Tìm thấy {} trong {} bản đồ (trên tổng {} bản đồ)</translation>
    </message>
</context>
<context>
    <name>FindAllCancelled</name>
    <message>
        <source>查找已停止: 已找到 {} 条 (已查完 {} / {} 个地图)</source>
        <translation>Đã dừng tìm: tìm thấy {} (đã tìm {} / {} bản đồ)</translation>
    </message>
</context>
<context>
    <name>FindAllSkipped</name>
    <message>
        <source>地图 {} "{}" 已跳过: 无法读取 {}</source>
        <translation>Bỏ qua bản đồ {} "{}": không đọc được {}</translation>
    </message>
</context>
<context>
    <name>FindAllNoMapList</name>
    <message>
        <source>无法读取地图列表 (maps\worldset.ini, settings\maplist.ini)</source>
        <translation>Không đọc được danh sách bản đồ (maps\worldset.ini, settings\maplist.ini)</translation>
    </message>
</context>
<context>
    <name>FindAllOpenHint</name>
    <message>
        <source>双击结果: 在主窗口中打开该地图并选中该NPC</source>
        <translation>Nhấp đúp một kết quả: mở bản đồ trong cửa sổ chính và chọn NPC đó</translation>
    </message>
</context>
<context>
    <name>FindAllOpened</name>
    <message>
        <source>已在主窗口中选中: 地图 {} 中的 {}</source>
        <translation>Đã chọn trong cửa sổ chính: bản đồ {}, {}</translation>
    </message>
</context>
<context>
    <name>FindAllMapNotListed</name>
    <message>
        <source>主窗口的地图列表中已没有地图 {}</source>
        <translation>Bản đồ {} không còn trong danh sách bản đồ của cửa sổ chính</translation>
    </message>
</context>
<context>
    <name>FindAllPlacementGone</name>
    <message>
        <source>地图 {} 中已找不到该NPC (文件已被修改): {}</source>
        <translation>Không còn tìm thấy NPC trên bản đồ {} (tệp đã bị sửa): {}</translation>
    </message>
</context>
<context>
    <name>CompareMenu</name>
    <message>
        <source>与其他服务器比较…</source>
        <translation>So sánh với máy chủ khác…</translation>
    </message>
</context>
<context>
    <name>CompareOtherLabel</name>
    <message>
        <source>其他服务器目录:</source>
        <translation>Thư mục máy chủ khác:</translation>
    </message>
</context>
<context>
    <name>CompareBrowse</name>
    <message>
        <source>浏览…</source>
        <translation>Duyệt…</translation>
    </message>
</context>
<context>
    <name>CompareRun</name>
    <message>
        <source>比较</source>
        <translation>So sánh</translation>
    </message>
</context>
<context>
    <name>CompareFilterCue</name>
    <message>
        <source>筛选差异 (与查找相同的筛选条件)</source>
        <translation>Lọc khác biệt (cùng bộ lọc như Tìm)</translation>
    </message>
</context>
<context>
    <name>CompareColumnKind</name>
    <message>
        <source>变化</source>
        <translation>Thay đổi</translation>
    </message>
</context>
<context>
    <name>CompareColumnKey</name>
    <message>
        <source>键 (模板,X,Y,偏移)</source>
        <translation>Khóa (mẫu,X,Y,độ lệch)</translation>
    </message>
</context>
<context>
    <name>CompareColumnFields</name>
    <message>
        <source>差异</source>
        <translation>Khác biệt</translation>
    </message>
</context>
<context>
    <name>CompareAdded</name>
    <message>
        <source>新增</source>
        <translation>Thêm</translation>
    </message>
</context>
<context>
    <name>CompareChanged</name>
    <message>
        <source>修改</source>
        <translation>Sửa</translation>
    </message>
</context>
<context>
    <name>CompareRemoved</name>
    <message>
        <source>删除</source>
        <translation>Xóa</translation>
    </message>
</context>
<context>
    <name>CompareFileOnlyHere</name>
    <message>
        <source>{} (只在本服务器)</source>
        <translation>{} (chỉ có trên máy chủ này)</translation>
    </message>
</context>
<context>
    <name>CompareFileOnlyThere</name>
    <message>
        <source>{} (只在其他服务器)</source>
        <translation>{} (chỉ có trên máy chủ kia)</translation>
    </message>
</context>
<context>
    <name>CompareNoMap</name>
    <message>
        <source>请先在主窗口中选择一个地图</source>
        <translation>Hãy chọn một bản đồ trong cửa sổ chính trước</translation>
    </message>
</context>
<context>
    <name>CompareNoOther</name>
    <message>
        <source>请指定其他服务器的目录</source>
        <translation>Hãy chỉ định thư mục của máy chủ kia</translation>
    </message>
</context>
<context>
    <name>CompareOtherNoMapList</name>
    <message>
        <source>无法读取其他服务器的地图列表: {}</source>
        <translation>Không đọc được danh sách bản đồ của máy chủ kia: {}</translation>
    </message>
</context>
<context>
    <name>CompareRunning</name>
    <message>
        <source>正在比较地图 {} …</source>
        <translation>Đang so sánh bản đồ {} …</translation>
    </message>
</context>
<context>
    <name>CompareDone</name>
    <message>
        <source>地图 {}: 新增 {} 条, 修改 {} 条, 删除 {} 条 (显示 {} / {} 条)</source>
        <translation>Bản đồ {}: thêm {}, sửa {}, xóa {} (hiện {} / {})</translation>
    </message>
</context>
<context>
    <name>CompareSame</name>
    <message>
        <source>地图 {} 在两个服务器中相同</source>
        <translation>Bản đồ {} giống nhau trên hai máy chủ</translation>
    </message>
</context>
<context>
    <name>CompareMapOnlyHere</name>
    <message>
        <source>地图 {} 不在其他服务器的地图列表中</source>
        <translation>Bản đồ {} không có trong danh sách bản đồ của máy chủ kia</translation>
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
        <translation>các byte không hiển thị khác nhau</translation>
    </message>
</context>
<context>
    <name>CliHelpWhere</name>
    <message>
        <source>the placements matching a filter instead of KEY: terms such as name:guard x:100-200 script:* (all must match)</source>
        <translation>các vị trí khớp với bộ lọc thay cho KEY: các điều kiện như name:guard x:100-200 script:* (tất cả phải khớp)</translation>
    </message>
</context>
<context>
    <name>CliHelpMove</name>
    <message>
        <source>move every matching placement by DX,DY (with --where)</source>
        <translation>dời mọi vị trí khớp đi DX,DY (cùng với --where)</translation>
    </message>
</context>
<context>
    <name>CliWhereAndKey</name>
    <message>
        <source>give KEY or --where FILTER, not both</source>
        <translation>hãy đưa KEY hoặc --where FILTER, không được cả hai</translation>
    </message>
</context>
<context>
    <name>CliKeyOrWhere</name>
    <message>
        <source>give KEY or --where FILTER</source>
        <translation>hãy đưa KEY hoặc --where FILTER</translation>
    </message>
</context>
<context>
    <name>CliWhereCannotSet</name>
    <message>
        <source>{} cannot be given with --where: a change of many placements sets --type, --group, --series, --drop, --script, --offset-x, --offset-y and --move</source>
        <translation>không thể dùng {} cùng với --where: sửa nhiều vị trí một lúc chỉ đặt --type, --group, --series, --drop, --script, --offset-x, --offset-y và --move</translation>
    </message>
</context>
<context>
    <name>CliWhereNothingToSet</name>
    <message>
        <source>nothing to change: give a field option or --move</source>
        <translation>không có gì để sửa: hãy đưa một tùy chọn trường hoặc --move</translation>
    </message>
</context>
<context>
    <name>CliMoveWithoutWhere</name>
    <message>
        <source>--move needs --where FILTER</source>
        <translation>--move cần có --where FILTER</translation>
    </message>
</context>
<context>
    <name>CliBadMove</name>
    <message>
        <source>--move must be DX,DY (two whole numbers), not "{}"</source>
        <translation>--move phải là DX,DY (hai số nguyên), không phải "{}"</translation>
    </message>
</context>
<context>
    <name>CliMoveOutside</name>
    <message>
        <source>the move would take {} outside 0 to {}</source>
        <translation>phép dời sẽ đưa {} ra ngoài khoảng 0 đến {}</translation>
    </message>
</context>
<context>
    <name>CliNotChanged</name>
    <message>
        <source>not changed {} "{}": {}</source>
        <translation>chưa sửa {} "{}": {}</translation>
    </message>
</context>
<context>
    <name>CliChangedOf</name>
    <message>
        <source>changed {} of the {} matching placements</source>
        <translation>đã sửa {} trong số {} vị trí khớp</translation>
    </message>
</context>
<context>
    <name>CliListMatched</name>
    <message>
        <source>{} of {} placements match</source>
        <translation>{} trong số {} vị trí khớp</translation>
    </message>
</context>
<context>
    <name>CliPlanNoFieldChanges</name>
    <message>
        <source>no shown field changes</source>
        <translation>không trường hiển thị nào thay đổi</translation>
    </message>
</context>
</TS>
