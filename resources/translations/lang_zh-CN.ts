<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AlertDlg</name>
    <message>
        <source>Note</source>
        <translation>提示</translation>
    </message>
</context>
<context>
    <name>CAttendeesButton</name>
    <message>
        <source>Attendees</source>
        <translation>参会者</translation>
    </message>
</context>
<context>
    <name>CAttendessWidgets</name>
    <message>
        <source>Attendees</source>
        <translation>参会者</translation>
    </message>
    <message>
        <source>Video(%1)</source>
        <translation>视频(%1)</translation>
    </message>
    <message>
        <source>Audio(%1)</source>
        <translation>音频(%1)</translation>
    </message>
</context>
<context>
    <name>CConferenceItemWidget</name>
    <message>
        <source>Schedule</source>
        <translation>预约</translation>
    </message>
    <message>
        <source>Ongoing</source>
        <translation>进行中</translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation>固定</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>时间：</translation>
    </message>
    <message>
        <source>Meeting ID:</source>
        <translation>会议号：</translation>
    </message>
    <message>
        <source>Applicant:</source>
        <translation>创建人：</translation>
    </message>
</context>
<context>
    <name>CConferencesDetailPage</name>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>Meeting detail</source>
        <translation>会议详情</translation>
    </message>
    <message>
        <source>Meeting Title</source>
        <translation>会议主题</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>开始时间</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>Meeting ID</source>
        <translation>会议号</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Participaints</source>
        <translation>参会人</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Immediate</source>
        <translation>立即开始</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>加入</translation>
    </message>
    <message>
        <source>End</source>
        <translation>结束</translation>
    </message>
</context>
<context>
    <name>CConferencesErrorPage</name>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
</context>
<context>
    <name>CConferencesMainPage</name>
    <message>
        <source>My room</source>
        <translation>我的会议室</translation>
    </message>
    <message>
        <source>Meeting ID:</source>
        <translation>会议号：</translation>
    </message>
</context>
<context>
    <name>CConferencesMyroomPage</name>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>My room</source>
        <translation>我的会议室</translation>
    </message>
    <message>
        <source>Meeting ID</source>
        <translation>会议号</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>加入</translation>
    </message>
</context>
<context>
    <name>CConferencesSchedulePage</name>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>Meeting Title</source>
        <translation>会议主题</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>开始时间</translation>
    </message>
    <message>
        <source>yyyy/MM/dd</source>
        <translation>yyyy/MM/dd</translation>
    </message>
    <message>
        <source>HH:mm</source>
        <translation>HH:mm</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>现在</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>Meeting ID</source>
        <translation>会议号</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Participaints</source>
        <translation>参会人</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>预约</translation>
    </message>
    <message>
        <source>Schedule meeting</source>
        <translation>预约会议</translation>
    </message>
    <message>
        <source>Edit meeting</source>
        <translation>编辑会议</translation>
    </message>
    <message>
        <source>&apos;s meeting</source>
        <translation>的会议</translation>
    </message>
</context>
<context>
    <name>CConferencesSelectuserPage</name>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>CConferencesToolBtn</name>
    <message>
        <source>My room</source>
        <translation>我的会议室</translation>
    </message>
    <message>
        <source>Schedule meeting</source>
        <translation>预约会议</translation>
    </message>
    <message>
        <source>Join meeting</source>
        <translation>加入会议</translation>
    </message>
</context>
<context>
    <name>CConferencestableview</name>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
</context>
<context>
    <name>CContactsAddDelegate</name>
    <message>
        <source>Added</source>
        <translation>已添加</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
</context>
<context>
    <name>CContactsListview</name>
    <message>
        <source>Organization</source>
        <translation>组织架构</translation>
    </message>
    <message>
        <source>Add contacts</source>
        <translation>添加联系人</translation>
    </message>
    <message>
        <source>My contacts</source>
        <translation>我的联系人</translation>
    </message>
    <message>
        <source>(Me)</source>
        <translation>（我）</translation>
    </message>
</context>
<context>
    <name>CContactsWidget</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>语音</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>账号</translation>
    </message>
    <message>
        <source>Call ID</source>
        <translation>呼叫号码</translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation>手机</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>邮箱</translation>
    </message>
    <message>
        <source>Telephone</source>
        <translation>电话</translation>
    </message>
</context>
<context>
    <name>CContainerSettingsFormWidget</name>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
</context>
<context>
    <name>CEmptyForm</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
</context>
<context>
    <name>CHomeDlg</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Join a Meeting</source>
        <translation>加入会议</translation>
    </message>
</context>
<context>
    <name>CHomeExitButton</name>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
</context>
<context>
    <name>CJoinConfDlg</name>
    <message>
        <source>Join a Meeting</source>
        <translation>加入会议</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Turn off Microphone</source>
        <translation>关闭麦克风</translation>
    </message>
    <message>
        <source>Turn off Camera</source>
        <translation>关闭摄像头</translation>
    </message>
</context>
<context>
    <name>CJoinConfWidget</name>
    <message>
        <source>Join a Meeting</source>
        <translation>加入会议</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Turn off Microphone</source>
        <translation>关闭麦克风</translation>
    </message>
    <message>
        <source>Turn off Camera</source>
        <translation>关闭摄像头</translation>
    </message>
</context>
<context>
    <name>CLayoutToolbarDlg</name>
    <message>
        <source>Show PIP</source>
        <translation>显示画中画</translation>
    </message>
    <message>
        <source>Hang Up</source>
        <translation>挂断</translation>
    </message>
</context>
<context>
    <name>CManagerButtonWidget</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Management</source>
        <translation>会控</translation>
    </message>
</context>
<context>
    <name>CMediaStatisticsDlg</name>
    <message>
        <source>Media Statistics</source>
        <translation>媒体统计</translation>
    </message>
</context>
<context>
    <name>CMyHeadpicDlg</name>
    <message>
        <source>Photo</source>
        <translation>头像</translation>
    </message>
    <message>
        <source>Best size 800x800 and within 1MB</source>
        <translation>建议尺寸 800x800，大小不超过 1MB</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>上传</translation>
    </message>
</context>
<context>
    <name>CMyInfoDlg</name>
    <message>
        <source>Account:</source>
        <translation>账号：</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>用户 ID</translation>
    </message>
    <message>
        <source>Organization</source>
        <translation>组织</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>部门</translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation>手机</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>邮箱</translation>
    </message>
    <message>
        <source>Change Password</source>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>退出登录</translation>
    </message>
</context>
<context>
    <name>CMyPasswordDlg</name>
    <message>
        <source>Change Password</source>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>Old password</source>
        <translation>旧密码</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Ask administrator to reset if forget</source>
        <translation>忘记密码请联系管理员重置</translation>
    </message>
    <message>
        <source>New password</source>
        <translation>新密码</translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation>确认密码</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>CNumberButton</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Management</source>
        <translation>会控</translation>
    </message>
</context>
<context>
    <name>CSelectShareContent</name>
    <message>
        <source>Choose to share content</source>
        <translation>选择要共享的内容</translation>
    </message>
    <message>
        <source>desktop</source>
        <translation>桌面</translation>
    </message>
    <message>
        <source>appwindow</source>
        <translation>应用窗口</translation>
    </message>
    <message>
        <source>Share Computer Sound</source>
        <translation>共享电脑声音</translation>
    </message>
    <message>
        <source>Preferred Fluency</source>
        <translation>流畅优先</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>共享</translation>
    </message>
</context>
<context>
    <name>CSettingsForm</name>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela 视频会议</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>传输协议</translation>
    </message>
    <message>
        <source>Screen Name</source>
        <translation>显示名称</translation>
    </message>
    <message>
        <source>Enable SIP Registration</source>
        <translation>启用 SIP 注册</translation>
    </message>
    <message>
        <source>SIP Server</source>
        <translation>SIP 服务器</translation>
    </message>
    <message>
        <source>SIP Domain</source>
        <translation>SIP 域</translation>
    </message>
    <message>
        <source>SIP Number</source>
        <translation>SIP 号码</translation>
    </message>
    <message>
        <source>SIP Username</source>
        <translation>SIP 用户名</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Call Rate</source>
        <translation>呼叫速率</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Snapshot Path:</source>
        <translation>截图路径：</translation>
    </message>
    <message>
        <source>Change Path</source>
        <translation>更改路径</translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <translation>诊断</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>问题反馈</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Login automatically when app starts up</source>
        <translation>启动应用时自动登录</translation>
    </message>
    <message>
        <source>Answer incoming calls automatically</source>
        <translation>自动应答来电</translation>
    </message>
    <message>
        <source>Start app when I start windows</source>
        <translation>登录系统时启动应用</translation>
    </message>
    <message>
        <source>Automatic save a snapshot when close whiteboard</source>
        <translation>关闭白板时自动保存截图</translation>
    </message>
    <message>
        <source>Use a separate window when viewing the video content shared by others</source>
        <translation>使用独立窗口查看他人共享的内容</translation>
    </message>
    <message>
        <source>Disable prompt</source>
        <translation>关闭提示</translation>
    </message>
    <message>
        <source>If checked, prompt information such as network status is not popup after joining conference.</source>
        <translation>勾选后，入会后不再弹出网络状态等提示信息。</translation>
    </message>
    <message>
        <source>Full screen when entering a meeting</source>
        <translation>入会时全屏显示</translation>
    </message>
    <message>
        <source>Disable Share</source>
        <translation>禁用共享</translation>
    </message>
    <message>
        <source>Join the meeting next time to take effect.</source>
        <translation>下次入会时生效。</translation>
    </message>
    <message>
        <source>Microphone</source>
        <translation>麦克风</translation>
    </message>
    <message>
        <source>Speaker</source>
        <translation>扬声器</translation>
    </message>
    <message>
        <source>Play Test Music</source>
        <translation>播放测试音</translation>
    </message>
    <message>
        <source>Play the test music</source>
        <translation>播放测试音乐</translation>
    </message>
    <message>
        <source>Intelligent Noise Reduction</source>
        <translation>智能降噪</translation>
    </message>
    <message>
        <source>When enabled, noise other than people voice is reduced intelligently.</source>
        <translation>开启后，智能降低人声以外的噪音。</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>摄像头</translation>
    </message>
    <message>
        <source>Render Type:</source>
        <translation>渲染方式：</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>D3D</source>
        <translation>OpenGL</translation>
    </message>
    <message>
        <source>GDI</source>
        <translation>软件</translation>
    </message>
    <message>
        <source>Enable high frame rate video</source>
        <translation>启用高帧率视频</translation>
    </message>
    <message>
        <source>If checked, the high frame rate 25fps is preferred in video tranfer.</source>
        <translation>勾选后，视频传输优先使用 25fps 高帧率。</translation>
    </message>
    <message>
        <source>Support 1080p</source>
        <translation>支持 1080p</translation>
    </message>
    <message>
        <source>Enable hard encode</source>
        <translation>启用硬件编码</translation>
    </message>
    <message>
        <source>Enable hard decode</source>
        <translation>启用硬件解码</translation>
    </message>
    <message>
        <source>No report currently</source>
        <translation>暂无报告</translation>
    </message>
    <message>
        <source>Please log in to check report</source>
        <translation>请登录后查看报告</translation>
    </message>
    <message>
        <source>Network status is normal</source>
        <translation>网络状态正常</translation>
    </message>
    <message>
        <source>View Details</source>
        <translation>查看详情</translation>
    </message>
    <message>
        <source>Pleas make a call to view more data</source>
        <translation>请发起呼叫以查看更多数据</translation>
    </message>
    <message>
        <source>COPYRIGHT_STRING</source>
        <translation>版权所有 © 2026 Brivana。保留所有权利。</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation>检查更新</translation>
    </message>
</context>
<context>
    <name>CUpdateMessageWidget</name>
    <message>
        <source>Software Update</source>
        <translation>软件更新</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
</context>
<context>
    <name>CWebreportDataTableWidget</name>
    <message>
        <source>Network quality(Audio)</source>
        <translation>网络质量（音频）</translation>
    </message>
    <message>
        <source>Network quality(Audio download packet lost)</source>
        <translation>网络质量（音频下行丢包）</translation>
    </message>
    <message>
        <source>Network quality(Audio upload packet lost)</source>
        <translation>网络质量（音频上行丢包）</translation>
    </message>
    <message>
        <source>Network quality(Audio download jitter)</source>
        <translation>网络质量（音频下行抖动）</translation>
    </message>
    <message>
        <source>Network quality(Audio upload jitter)</source>
        <translation>网络质量（音频上行抖动）</translation>
    </message>
    <message>
        <source>Network quality(Audio delay)</source>
        <translation>网络质量（音频延迟）</translation>
    </message>
    <message>
        <source>Network quality(Video)</source>
        <translation>网络质量（视频）</translation>
    </message>
    <message>
        <source>Network quality(Video download packet lost)</source>
        <translation>网络质量（视频下行丢包）</translation>
    </message>
    <message>
        <source>Network quality(Video upload packet lost)</source>
        <translation>网络质量（视频上行丢包）</translation>
    </message>
    <message>
        <source>Network quality(Video download jitter)</source>
        <translation>网络质量（视频下行抖动）</translation>
    </message>
    <message>
        <source>Network quality(Video upload jitter)</source>
        <translation>网络质量（视频上行抖动）</translation>
    </message>
    <message>
        <source>Network quality(Video delay)</source>
        <translation>网络质量（视频延迟）</translation>
    </message>
    <message>
        <source>Network quality(Content)</source>
        <translation>网络质量（内容）</translation>
    </message>
    <message>
        <source>Network quality(Content download packet lost)</source>
        <translation>网络质量（内容下行丢包）</translation>
    </message>
    <message>
        <source>Network quality(Content upload packet lost)</source>
        <translation>网络质量（内容上行丢包）</translation>
    </message>
    <message>
        <source>Network quality(Content download jitter)</source>
        <translation>网络质量（内容下行抖动）</translation>
    </message>
    <message>
        <source>Network quality(Content upload jitter)</source>
        <translation>网络质量（内容上行抖动）</translation>
    </message>
    <message>
        <source>Network quality(Content delay)</source>
        <translation>网络质量（内容延迟）</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Available</source>
        <translation>可用</translation>
    </message>
    <message>
        <source>Poor</source>
        <translation>较差</translation>
    </message>
    <message>
        <source>Timeout</source>
        <translation>超时</translation>
    </message>
    <message>
        <source>Unreachable</source>
        <translation>无法连接</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>登录失败</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>注册失败</translation>
    </message>
    <message>
        <source>Call failed</source>
        <translation>呼叫失败</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>延迟</translation>
    </message>
    <message>
        <source>Download jitter</source>
        <translation>下行抖动</translation>
    </message>
    <message>
        <source>Upload jitter</source>
        <translation>上行抖动</translation>
    </message>
    <message>
        <source>Download packet lost</source>
        <translation>下行丢包</translation>
    </message>
    <message>
        <source>Upload packet lost</source>
        <translation>上行丢包</translation>
    </message>
    <message>
        <source>Login service connection status</source>
        <translation>登录服务连接状态</translation>
    </message>
    <message>
        <source>Registration service connection status</source>
        <translation>注册服务连接状态</translation>
    </message>
    <message>
        <source>Call status</source>
        <translation>呼叫状态</translation>
    </message>
    <message>
        <source>Call rate</source>
        <translation>呼叫速率</translation>
    </message>
    <message>
        <source>Network status</source>
        <translation>网络状态</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>详情</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Service address</source>
        <translation>服务地址</translation>
    </message>
    <message>
        <source>Call rate(Download)</source>
        <translation>呼叫速率（下行）</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下行</translation>
    </message>
    <message>
        <source>Call rate(Upload)</source>
        <translation>呼叫速率（上行）</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>上行</translation>
    </message>
</context>
<context>
    <name>CWebreportDetailsDlg</name>
    <message>
        <source>Details</source>
        <translation>详情</translation>
    </message>
    <message>
        <source>CopyResults</source>
        <translation>复制结果</translation>
    </message>
</context>
<context>
    <name>CbackgroundWidget</name>
    <message>
        <source>Show PIP</source>
        <translation>显示画中画</translation>
    </message>
</context>
<context>
    <name>CompactWidget</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
</context>
<context>
    <name>FeedBackDlg</name>
    <message>
        <source>Feedback</source>
        <translation>问题反馈</translation>
    </message>
    <message>
        <source>Problem/Suggestion</source>
        <translation>问题/建议</translation>
    </message>
    <message>
        <source>Contact info(optional)</source>
        <translation>联系方式（选填）</translation>
    </message>
    <message>
        <source>Sure</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela 视频会议</translation>
    </message>
    <message>
        <source>COPYRIGHT_STRING</source>
        <translation type="vanished">版权所有 © 2026 Brivana。保留所有权利。</translation>
    </message>
</context>
<context>
    <name>kd_app::models::CCallController</name>
    <message>
        <source>Note</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Not registered to the video service, please try to log in again.</source>
        <translation>未注册到视频服务，请重新登录。</translation>
    </message>
</context>
<context>
    <name>kd_app::models::CUCMApiManager</name>
    <message>
        <source>Unsupported API version(%1).</source>
        <translation>不支持的接口版本(%1)。</translation>
    </message>
    <message>
        <source>Invalid token(%1).</source>
        <translation>无效的令牌(%1)。</translation>
    </message>
    <message>
        <source>Invalid parameter(%1).</source>
        <translation>无效的参数(%1)。</translation>
    </message>
    <message>
        <source>The parameter exceeds the setting range(%1).</source>
        <translation>参数超出设置范围(%1)。</translation>
    </message>
    <message>
        <source>Invalid media type, only &quot;application/json&quot; is supported(%1).</source>
        <translation>无效的媒体类型，仅支持&quot;application/json&quot;(%1)。</translation>
    </message>
    <message>
        <source>You don&apos;t have permission to perform this operation(%1).</source>
        <translation>您没有执行此操作的权限(%1)。</translation>
    </message>
    <message>
        <source>Misspelling of the field name in the JSON string(%1).</source>
        <translation>JSON 字符串中的字段名拼写错误(%1)。</translation>
    </message>
    <message>
        <source>Internal error(%1).</source>
        <translation>内部错误(%1)。</translation>
    </message>
    <message>
        <source>Meeting does not exist(%1).</source>
        <translation>会议不存在(%1)。</translation>
    </message>
    <message>
        <source>The meeting is being initiated or in progress(%1).</source>
        <translation>会议正在发起或进行中(%1)。</translation>
    </message>
    <message>
        <source>The meeting has ended or has been deleted(%1).</source>
        <translation>会议已结束或已被删除(%1)。</translation>
    </message>
    <message>
        <source>The server&apos;s certificate could not be verified, the connection is not safe(%1).</source>
        <translation>无法验证服务器证书，连接不安全(%1)。</translation>
    </message>
</context>
<context>
    <name>kd_app::views::AlertDlg</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CAttendessWidgets</name>
    <message>
        <source>Video(%1)</source>
        <translation>视频(%1)</translation>
    </message>
    <message>
        <source>Audio(%1)</source>
        <translation>音频(%1)</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CConferencesWidget</name>
    <message>
        <source>Note</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Are you sure to delete meeting?</source>
        <translation>确定要删除会议吗？</translation>
    </message>
    <message>
        <source>Are you sure to terminate meeting?</source>
        <translation>确定要结束会议吗？</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CContactsWidget</name>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Sure you want to delete contact?</source>
        <translation>确定要删除联系人吗？</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CContainerSettingsFormWidget</name>
    <message>
        <source>Settings</source>
        <translation type="vanished">设置</translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="vanished">关闭</translation>
    </message>
    <message>
        <source>There are no settings to change in this version.</source>
        <translation type="vanished">此版本没有可更改的设置。</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CDeviceMenuWidget</name>
    <message>
        <source>System Default</source>
        <translation>系统默认</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CDownloadThread</name>
    <message>
        <source>The latest software is found (%1)</source>
        <translation>发现最新版本软件（%1）</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Failed to execute upgrade.</source>
        <translation>无法执行升级。</translation>
    </message>
    <message>
        <source>The upgrade package is saved in %1, you can install it yourself.</source>
        <translation>升级包已保存在 %1，您可以手动安装。</translation>
    </message>
    <message>
        <source>The package does not match its checksum.</source>
        <translation>升级包与其校验和不符。</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CHomeDlg</name>
    <message>
        <source>Signed in</source>
        <translation type="vanished">已登录</translation>
    </message>
    <message>
        <source>Signed in as %1</source>
        <translation type="vanished">已登录：%1</translation>
    </message>
    <message>
        <source>Sign Out</source>
        <translation type="vanished">退出登录</translation>
    </message>
    <message>
        <source>You are not signed in.</source>
        <translation type="vanished">您尚未登录。</translation>
    </message>
    <message>
        <source>Back to Login</source>
        <translation type="vanished">返回登录</translation>
    </message>
    <message>
        <source>Join a Meeting</source>
        <translation type="vanished">加入会议</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>加入</translation>
    </message>
    <message>
        <source>Meetings</source>
        <translation>会议</translation>
    </message>
    <message>
        <source>Contacts</source>
        <translation>联系人</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Changes are not saved, Are you sure you want to leave?</source>
        <translation>更改尚未保存，确定要离开吗？</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>在线</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>离线</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Your account logged in on another device at %1. This session finished automatically.</source>
        <translation>您的账号于 %1 在其他设备上登录，本次会话已自动结束。</translation>
    </message>
    <message>
        <source>Are you sure to close app?</source>
        <translation>确定要关闭应用吗？</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CJoinConfRules</name>
    <message>
        <source>Input meeting ID</source>
        <translation>请输入会议号</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>加入</translation>
    </message>
    <message>
        <source>Video Join</source>
        <translation>视频加入</translation>
    </message>
    <message>
        <source>Audio Join</source>
        <translation>音频加入</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLayoutBackgroundDlg</name>
    <message>
        <source>Meeting</source>
        <translation>会议</translation>
    </message>
    <message>
        <source>Meeting %1</source>
        <translation>会议 %1</translation>
    </message>
    <message>
        <source>Calling...</source>
        <translation>正在呼叫...</translation>
    </message>
    <message>
        <source>Incoming call</source>
        <translation>来电</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>Hang Up</source>
        <translation>挂断</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLayoutCellCoverDlg</name>
    <message>
        <source>%1&apos;s Screen Sharing</source>
        <translation>%1 的屏幕共享</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLayoutPeopleSettingDlg</name>
    <message>
        <source>The request for sending conent is denied due to lack of permission.</source>
        <translation>没有权限，发送内容的请求被拒绝。</translation>
    </message>
    <message>
        <source>You have been muted by meeting host.</source>
        <translation>您已被主持人静音。</translation>
    </message>
    <message>
        <source>You are unmuted, other participants can hear you now.</source>
        <translation>您已解除静音，其他参会者现在可以听到您的声音。</translation>
    </message>
    <message>
        <source>Microphone Muted</source>
        <translation>麦克风已静音</translation>
    </message>
    <message>
        <source>Speech request has been sent</source>
        <translation>发言申请已发送</translation>
    </message>
    <message>
        <source>Video is stopped.</source>
        <translation>视频已停止。</translation>
    </message>
    <message>
        <source>Video is enabled.</source>
        <translation>视频已开启。</translation>
    </message>
    <message>
        <source>No microphone device available.</source>
        <translation>没有可用的麦克风设备。</translation>
    </message>
    <message>
        <source>Current microphone: %1</source>
        <translation>当前麦克风：%1</translation>
    </message>
    <message>
        <source>No speaker device available.</source>
        <translation>没有可用的扬声器设备。</translation>
    </message>
    <message>
        <source>Current speaker: %1</source>
        <translation>当前扬声器：%1</translation>
    </message>
    <message>
        <source>No camera device available.</source>
        <translation>没有可用的摄像头设备。</translation>
    </message>
    <message>
        <source>Current camera: %1</source>
        <translation>当前摄像头：%1</translation>
    </message>
    <message>
        <source>Network is not stable now, it may impact your conferencing experience.</source>
        <translation>网络当前不稳定，可能影响您的会议体验。</translation>
    </message>
    <message>
        <source>Network is in very poor status, recommend checking network or switching to better network.</source>
        <translation>网络状况很差，建议检查网络或切换到更好的网络。</translation>
    </message>
    <message>
        <source>Network bandwidth is insufficient, it may impact your conferencing experience.</source>
        <translation>网络带宽不足，可能影响您的会议体验。</translation>
    </message>
    <message>
        <source>Network bandwidth is in serious shortage, recommend checking network bandwidth or switching to better network.</source>
        <translation>网络带宽严重不足，建议检查网络带宽或切换到更好的网络。</translation>
    </message>
    <message>
        <source>Not allowed to unmute.</source>
        <translation>不允许解除静音。</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>There is no microphone found and other can not listen to you. Please check microphone device.</source>
        <translation>未找到麦克风，其他人无法听到您的声音。请检查麦克风设备。</translation>
    </message>
    <message>
        <source>Meeting manager is unmuting you, do you agree?</source>
        <translation>会议管理员正在为您解除静音，您是否同意？</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLayoutToolbarDlg</name>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>解除静音</translation>
    </message>
    <message>
        <source>Stop Video</source>
        <translation>停止视频</translation>
    </message>
    <message>
        <source>Enable Video</source>
        <translation>开启视频</translation>
    </message>
    <message>
        <source>Layout</source>
        <translation>布局</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>共享</translation>
    </message>
    <message>
        <source>More</source>
        <translation>更多</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>拨号盘</translation>
    </message>
    <message>
        <source>Leave</source>
        <translation>离开</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Are you sure to leave the meeting?</source>
        <translation>确定要离开会议吗？</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLoginChangePasswordForm</name>
    <message>
        <source>Please change the password for security</source>
        <translation>为了安全，请修改密码</translation>
    </message>
    <message>
        <source>New Password</source>
        <translation>新密码</translation>
    </message>
    <message>
        <source>Please Input Your Password</source>
        <translation>请输入密码</translation>
    </message>
    <message>
        <source>Confirm Password</source>
        <translation>确认密码</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一步</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>跳过</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Confirm Password is not consistent with New Password.</source>
        <translation>确认密码与新密码不一致。</translation>
    </message>
    <message>
        <source>The password length is %1-%2 characters
The following special characters can be input %3
Please input at least %4 combinations by upper case letters, numbers and special characters</source>
        <translation>密码长度为 %1-%2 个字符
可输入以下特殊字符 %3
请至少使用大写字母、数字和特殊字符中的 %4 种组合</translation>
    </message>
    <message>
        <source>The new and old password is the same.</source>
        <translation>新密码与旧密码相同。</translation>
    </message>
    <message>
        <source>Change new password failed.</source>
        <translation>修改新密码失败。</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLoginDlg</name>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLoginInfoForm</name>
    <message>
        <source>Login</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>服务器</translation>
    </message>
    <message>
        <source>Please Input Server Address</source>
        <translation>请输入服务器地址</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>账号</translation>
    </message>
    <message>
        <source>Please Input Your Account</source>
        <translation>请输入账号</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Please Input Your Password</source>
        <translation>请输入密码</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Please Input Port Number (Optional)</source>
        <translation>请输入端口号（可选）</translation>
    </message>
    <message>
        <source>HTTPS</source>
        <translation>HTTPS</translation>
    </message>
    <message>
        <source>More</source>
        <translation>更多</translation>
    </message>
    <message>
        <source>Skipped Login</source>
        <translation>跳过登录</translation>
    </message>
    <message>
        <source>Guest Join Meeting</source>
        <translation>访客入会</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The value of port can only be number from 1 to 65535.</source>
        <translation>端口只能是 1 到 65535 之间的数字。</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLoginJoinConfForm</name>
    <message>
        <source>Join Meeting</source>
        <translation>加入会议</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>服务器</translation>
    </message>
    <message>
        <source>Please Input Server Address</source>
        <translation>请输入服务器地址</translation>
    </message>
    <message>
        <source>Meeting Number</source>
        <translation>会议号</translation>
    </message>
    <message>
        <source>Please Input Meeting Number</source>
        <translation>请输入会议号</translation>
    </message>
    <message>
        <source>Display Name</source>
        <translation>显示名称</translation>
    </message>
    <message>
        <source>Please Input Display Name</source>
        <translation>请输入显示名称</translation>
    </message>
    <message>
        <source>Meeting Password(Optional)</source>
        <translation>会议密码（可选）</translation>
    </message>
    <message>
        <source>Please Input Meeting Password (Optional)</source>
        <translation>请输入会议密码（可选）</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>The username can not be empty.</source>
        <translation>用户名不能为空。</translation>
    </message>
    <message>
        <source>The length of username can not exceed %1.</source>
        <translation>用户名长度不能超过 %1。</translation>
    </message>
    <message>
        <source>The username can not contain &quot;, &lt;, &gt;.</source>
        <translation>用户名不能包含 &quot;、&lt;、&gt;。</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMainDlgManager</name>
    <message>
        <source>Note</source>
        <translation>注意</translation>
    </message>
    <message>
        <source>Not registered to the video service, please try to log in again.</source>
        <translation>未注册到视频服务，请重新登录。</translation>
    </message>
    <message>
        <source>Unknown error(%1).</source>
        <translation>未知错误(%1)。</translation>
    </message>
    <message>
        <source>Sdk is not initialized(%1).</source>
        <translation>SDK 未初始化(%1)。</translation>
    </message>
    <message>
        <source>Bad format for sdk(%1).</source>
        <translation>SDK 格式错误(%1)。</translation>
    </message>
    <message>
        <source>The operation is only supported in a conference(%1).</source>
        <translation>该操作仅在会议中支持(%1)。</translation>
    </message>
    <message>
        <source>Bad parameter for sdk(%1).</source>
        <translation>SDK 参数错误(%1)。</translation>
    </message>
    <message>
        <source>Failed to register(%1).</source>
        <translation>注册失败(%1)。</translation>
    </message>
    <message>
        <source>Internal error in sdk(%1).</source>
        <translation>SDK 内部错误(%1)。</translation>
    </message>
    <message>
        <source>Server unreachable, please try again later(%1).</source>
        <translation>服务器无法访问，请稍后重试(%1)。</translation>
    </message>
    <message>
        <source>Invalid server(%1).</source>
        <translation>无效的服务器(%1)。</translation>
    </message>
    <message>
        <source>The other party has hung up(%1).</source>
        <translation>对方已挂断(%1)。</translation>
    </message>
    <message>
        <source>The other party is busy(%1).</source>
        <translation>对方忙(%1)。</translation>
    </message>
    <message>
        <source>Call timeout(%1).</source>
        <translation>呼叫超时(%1)。</translation>
    </message>
    <message>
        <source>Not login(%1).</source>
        <translation>未登录(%1)。</translation>
    </message>
    <message>
        <source>Call timeout, terminate the call(%1).</source>
        <translation>呼叫超时，结束通话(%1)。</translation>
    </message>
    <message>
        <source>Failed to resolve domain, please check if the domain service setting is correct(%1).</source>
        <translation>域名解析失败，请检查域名服务设置是否正确(%1)。</translation>
    </message>
    <message>
        <source>Invalid token(%1).</source>
        <translation>无效的令牌(%1)。</translation>
    </message>
    <message>
        <source>Operation failure(%1).</source>
        <translation>操作失败(%1)。</translation>
    </message>
    <message>
        <source>Internal error(%1).</source>
        <translation>内部错误(%1)。</translation>
    </message>
    <message>
        <source>Invalid username or password.</source>
        <translation>用户名或密码错误。</translation>
    </message>
    <message>
        <source>Account is locked(%1).</source>
        <translation>账号已锁定(%1)。</translation>
    </message>
    <message>
        <source>Account is not used(%1).</source>
        <translation>账号未启用(%1)。</translation>
    </message>
    <message>
        <source>Failed to connect to media server(%1).</source>
        <translation>连接媒体服务器失败(%1)。</translation>
    </message>
    <message>
        <source>No resource(%1).</source>
        <translation>没有资源(%1)。</translation>
    </message>
    <message>
        <source>The device is not in allow list(%1).</source>
        <translation>设备不在允许列表中(%1)。</translation>
    </message>
    <message>
        <source>The number of concurrent calls reaches maximum(%1).</source>
        <translation>并发呼叫数已达上限(%1)。</translation>
    </message>
    <message>
        <source>Invalid URL address(%1).</source>
        <translation>无效的 URL 地址(%1)。</translation>
    </message>
    <message>
        <source>Invalid registration password(%1).</source>
        <translation>无效的注册密码(%1)。</translation>
    </message>
    <message>
        <source>Invalid registration username(%1).</source>
        <translation>无效的注册用户名(%1)。</translation>
    </message>
    <message>
        <source>Registration identification is used(%1).</source>
        <translation>注册标识已被使用(%1)。</translation>
    </message>
    <message>
        <source>The registration username and authentication username are inconsistent(%1).</source>
        <translation>注册用户名与认证用户名不一致(%1)。</translation>
    </message>
    <message>
        <source>An error occurred in the registration server(%1).</source>
        <translation>注册服务器出错(%1)。</translation>
    </message>
    <message>
        <source>The endpoint is not registerred(%1).</source>
        <translation>终端未注册(%1)。</translation>
    </message>
    <message>
        <source>Failed to connect to CCM(%1).</source>
        <translation>连接 CCM 失败(%1)。</translation>
    </message>
    <message>
        <source>Failed to connect to UCM(%1).</source>
        <translation>连接 UCM 失败(%1)。</translation>
    </message>
    <message>
        <source>The call is forbidden by UCM(%1).</source>
        <translation>呼叫被 UCM 禁止(%1)。</translation>
    </message>
    <message>
        <source>The contact is offline(%1).</source>
        <translation>联系人不在线(%1)。</translation>
    </message>
    <message>
        <source>The meeting can not be activated(%1).</source>
        <translation>会议无法激活(%1)。</translation>
    </message>
    <message>
        <source>Invalid parameter(%1).</source>
        <translation>无效的参数(%1)。</translation>
    </message>
    <message>
        <source>Invalid meeting room password(%1).</source>
        <translation>会议室密码错误(%1)。</translation>
    </message>
    <message>
        <source>The meeting room password is required(%1).</source>
        <translation>需要会议室密码(%1)。</translation>
    </message>
    <message>
        <source>No media resource(%1).</source>
        <translation>没有媒体资源(%1)。</translation>
    </message>
    <message>
        <source>Failed to create meeting room(%1).</source>
        <translation>创建会议室失败(%1)。</translation>
    </message>
    <message>
        <source>No permission to create meeting room(%1).</source>
        <translation>没有创建会议室的权限(%1)。</translation>
    </message>
    <message>
        <source>The meeting room is existed(%1).</source>
        <translation>会议室已存在(%1)。</translation>
    </message>
    <message>
        <source>Creating meeting room is forbidden(%1).</source>
        <translation>禁止创建会议室(%1)。</translation>
    </message>
    <message>
        <source>The meeting is locked(%1).</source>
        <translation>会议已锁定(%1)。</translation>
    </message>
    <message>
        <source>Network unavailable. Please check and try again(%1).</source>
        <translation>网络不可用，请检查后重试(%1)。</translation>
    </message>
    <message>
        <source>Meeting ended or terminated by meeting host(%1).</source>
        <translation>会议已结束或被主持人终止(%1)。</translation>
    </message>
    <message>
        <source>Invalid server address.</source>
        <translation>无效的服务器地址。</translation>
    </message>
    <message>
        <source>Failed to login(%1).</source>
        <translation>登录失败(%1)。</translation>
    </message>
    <message>
        <source>Received error(%1).</source>
        <translation>收到错误(%1)。</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMediaStatisticsDlg</name>
    <message>
        <source>Media Direction</source>
        <translation>媒体方向</translation>
    </message>
    <message>
        <source>Codec</source>
        <translation>编解码</translation>
    </message>
    <message>
        <source>Line Rate
(kbps)</source>
        <translation>线路速率
(kbps)</translation>
    </message>
    <message>
        <source>Actual Line Rate
(kbps)</source>
        <translation>实际线路速率
(kbps)</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <source>Frame Rate
(fps)</source>
        <translation>帧率
(fps)</translation>
    </message>
    <message>
        <source>Packet Lost Rate</source>
        <translation>丢包率</translation>
    </message>
    <message>
        <source>Encryption</source>
        <translation>加密</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMediaStatisticsFormat</name>
    <message>
        <source>Audio In</source>
        <translation>音频接收</translation>
    </message>
    <message>
        <source>Audio Out</source>
        <translation>音频发送</translation>
    </message>
    <message>
        <source>Video In</source>
        <translation>视频接收</translation>
    </message>
    <message>
        <source>Video Out</source>
        <translation>视频发送</translation>
    </message>
    <message>
        <source>Content In</source>
        <translation>内容接收</translation>
    </message>
    <message>
        <source>Content Out</source>
        <translation>内容发送</translation>
    </message>
    <message>
        <source>White Board In</source>
        <translation>白板接收</translation>
    </message>
    <message>
        <source>White Board Out</source>
        <translation>白板发送</translation>
    </message>
    <message>
        <source>Other In</source>
        <translation>其他接收</translation>
    </message>
    <message>
        <source>Other Out</source>
        <translation>其他发送</translation>
    </message>
    <message>
        <source>Encrypted</source>
        <translation>已加密</translation>
    </message>
    <message>
        <source>Not encrypted</source>
        <translation>未加密</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMenuMoreWidget</name>
    <message>
        <source>Speech Request</source>
        <translation>申请发言</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMyHeadpicDlg</name>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Upload picture failed.</source>
        <translation>上传图片失败。</translation>
    </message>
    <message>
        <source>Upload picture succeeded</source>
        <translation>上传图片成功</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMyInfoDlg</name>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela 视频会议</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Invalid input format</source>
        <translation>输入格式无效</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMyPasswordDlg</name>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Old password is wrong!</source>
        <translation>旧密码错误！</translation>
    </message>
    <message>
        <source>The new and old password is the same.</source>
        <translation>新密码与旧密码相同。</translation>
    </message>
    <message>
        <source>Confirm Password is not consistent with New Password.</source>
        <translation>确认密码与新密码不一致。</translation>
    </message>
    <message>
        <source>The password length is %1-%2 characters
The following special characters can be input %3
Please input at least %4 combinations by upper case letters, numbers and special characters</source>
        <translation>密码长度为 %1-%2 个字符
可输入以下特殊字符 %3
请至少使用大写字母、数字和特殊字符中的 %4 种组合</translation>
    </message>
    <message>
        <source>Wrong old password format.(4-16 characters and no spaces)</source>
        <translation>旧密码格式错误。（4-16 个字符，不能含空格）</translation>
    </message>
    <message>
        <source>Wrong new password format.(4-16 characters and no spaces)</source>
        <translation>新密码格式错误。（4-16 个字符，不能含空格）</translation>
    </message>
    <message>
        <source>Wrong confirm password format.(4-16 characters and no spaces)</source>
        <translation>确认密码格式错误。（4-16 个字符，不能含空格）</translation>
    </message>
    <message>
        <source>Change new password failed.</source>
        <translation>修改密码失败。</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CSelectShareContent</name>
    <message>
        <source>Other participants will be able to hear the audio being played on your computer</source>
        <translation>其他参会者将能听到您电脑上正在播放的声音</translation>
    </message>
    <message>
        <source>Ensure shared content fluency first</source>
        <translation>优先保证共享内容的流畅</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Service is not connected, please wait...</source>
        <translation>服务尚未连接，请稍候…</translation>
    </message>
    <message>
        <source>Receiving whiteboard.</source>
        <translation>正在接收白板。</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CSettingsForm</name>
    <message>
        <source>System Default</source>
        <translation>系统默认</translation>
    </message>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela 视频会议</translation>
    </message>
    <message>
        <source>General</source>
        <translation>常规</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>音频</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <source>Network Report</source>
        <translation>网络报告</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>English_Language</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Simplified-Chinese_Language</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation>版本：%1</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>注意</translation>
    </message>
    <message>
        <source>Changes are not saved, Are you sure you want to leave?</source>
        <translation>更改尚未保存，确定要离开吗？</translation>
    </message>
    <message>
        <source>Please set the snapshot path</source>
        <translation>请设置截图路径</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Not found new version.</source>
        <translation>未发现新版本。</translation>
    </message>
    <message>
        <source>Input Server Address</source>
        <translation>请输入服务器地址</translation>
    </message>
    <message>
        <source>Saved Successfully!</source>
        <translation>保存成功！</translation>
    </message>
    <message>
        <source>Failed to resolve domain, please check if the domain service setting is correct. (Server address: %1)</source>
        <translation>域名解析失败，请检查域名服务设置是否正确。（服务器地址：%1）</translation>
    </message>
    <message>
        <source>Network connection timeout, please check network connection or firewall setting. (Server address: %1)</source>
        <translation>网络连接超时，请检查网络连接或防火墙设置。（服务器地址：%1）</translation>
    </message>
    <message>
        <source>Can not receive bitstream, please check if the firewall among servers and relevant settings is correct.</source>
        <translation>无法接收码流，请检查服务器之间的防火墙及相关设置是否正确。</translation>
    </message>
    <message>
        <source>Please refer to the detail information about error content.</source>
        <translation>请查看详情中的错误信息。</translation>
    </message>
    <message>
        <source>Network status is normal</source>
        <translation>网络状态正常</translation>
    </message>
    <message>
        <source>Network status is abnormal</source>
        <translation>网络状态异常</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CUpdateMessageWidget</name>
    <message>
        <source>Do you want to install the latest software?</source>
        <translation>是否安装最新版本软件？</translation>
    </message>
    <message>
        <source>download failed</source>
        <translation>下载失败</translation>
    </message>
    <message>
        <source>Downloading the latest software</source>
        <translation>正在下载最新版本软件</translation>
    </message>
    <message>
        <source>bytes/s</source>
        <translation>字节/秒</translation>
    </message>
    <message>
        <source>kB/s</source>
        <translation>kB/秒</translation>
    </message>
    <message>
        <source>MB/s</source>
        <translation>MB/秒</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CWebreportDetailsDlg</name>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Details have been copied to the system clipboard</source>
        <translation>详情已复制到系统剪贴板</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CWhiteBoardBackgroundUpload</name>
    <message>
        <source>Choose to upload picture</source>
        <translation>选择要上传的图片</translation>
    </message>
    <message>
        <source>Image files(*.jpg *.png *.jpeg);;All files (*.*)</source>
        <translation>图片文件(*.jpg *.png *.jpeg);;所有文件 (*.*)</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CWidgetContents</name>
    <message>
        <source>Screen %1</source>
        <translation>屏幕 %1</translation>
    </message>
    <message>
        <source>WhiteBoard</source>
        <translation>白板</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CallInviteWidget</name>
    <message>
        <source>You are invited to join meeting:</source>
        <translation>您被邀请加入会议：</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CallWaitingWidget</name>
    <message>
        <source>Waiting...# </source>
        <translation>等待中……第 </translation>
    </message>
    <message>
        <source> now</source>
        <translation> 位</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CbackgroundWidget</name>
    <message>
        <source>Voice</source>
        <translation>声音</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>标注</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Management</source>
        <translation>会控</translation>
    </message>
    <message>
        <source>Stop Sound</source>
        <translation>停止共享声音</translation>
    </message>
    <message>
        <source>Share Sound</source>
        <translation>共享声音</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Are you sure to stop?</source>
        <translation>确定要停止吗？</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>截图</translation>
    </message>
</context>
<context>
    <name>kd_app::views::FeedBackDlg</name>
    <message>
        <source>Please fill in the problem description of more than 10 words, so that we can help you solve the problem more precisely.</source>
        <translation>请填写10个字以上的问题描述，以便我们更准确地帮您解决问题。</translation>
    </message>
    <message>
        <source>Fill in your mobile phone number or email address, so that we can contact you.</source>
        <translation>请填写您的手机号码或邮箱地址，以便我们与您联系。</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Uploaded failed</source>
        <translation>上传失败</translation>
    </message>
    <message>
        <source>Uploaded successfully</source>
        <translation>上传成功</translation>
    </message>
    <message>
        <source>Save Log</source>
        <translation>保存日志</translation>
    </message>
    <message>
        <source>Save successfully</source>
        <translation>保存成功</translation>
    </message>
    <message>
        <source>Save failed</source>
        <translation>保存失败</translation>
    </message>
</context>
<context>
    <name>kd_app::views::PaintListWidget</name>
    <message>
        <source>Mouse</source>
        <translation>鼠标</translation>
    </message>
    <message>
        <source>Pen</source>
        <translation>画笔</translation>
    </message>
    <message>
        <source>Marker</source>
        <translation>荧光笔</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>橡皮擦</translation>
    </message>
    <message>
        <source>Revoke</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>背景</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
</context>
<context>
    <name>kd_app::views::menuAudioWidget</name>
    <message>
        <source>Select microphone</source>
        <translation>选择麦克风</translation>
    </message>
    <message>
        <source>Select speaker</source>
        <translation>选择扬声器</translation>
    </message>
    <message>
        <source>Audio setting</source>
        <translation>音频设置</translation>
    </message>
</context>
<context>
    <name>kd_app::views::menuVideoWidget</name>
    <message>
        <source>Select camera</source>
        <translation>选择摄像头</translation>
    </message>
    <message>
        <source>Video setting</source>
        <translation>视频设置</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Another process of the application is logging in.</source>
        <translation>应用程序的另一个进程正在登录。</translation>
    </message>
    <message>
        <source>Another meeting is running on the application.</source>
        <translation>应用程序中正在进行另一个会议。</translation>
    </message>
    <message>
        <source>The running application could not be reached.</source>
        <translation>无法连接到正在运行的应用程序。</translation>
    </message>
</context>
<context>
    <name>CWebBrowserLoadFailedForm</name>
    <message>
        <source>Failed to load, please check your network.</source>
        <translation>加载失败，请检查网络。</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>重新加载</translation>
    </message>
</context>
<context>
    <name>CWebBrowserLoadingForm</name>
    <message>
        <source>Trying to load...</source>
        <translation>正在加载...</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CSharingToolbarControls</name>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>取消静音</translation>
    </message>
    <message>
        <source>Stop Video</source>
        <translation>停止视频</translation>
    </message>
    <message>
        <source>Enable Video</source>
        <translation>开启视频</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CSnapshotSaver</name>
    <message>
        <source>Note</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Save successfully</source>
        <translation>保存成功</translation>
    </message>
    <message>
        <source>Save failed</source>
        <translation>保存失败</translation>
    </message>
</context>
<context>
    <name>WhiteBoardTopWidget</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Show PIP</source>
        <translation>显示画中画</translation>
    </message>
</context>
<context>
    <name>kd_app::views::WhiteBoardTopWidget</name>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>标注</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Management</source>
        <translation>会控</translation>
    </message>
</context>
<context>
    <name>kd_app::views::WhiteBoardDlg</name>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela 视频会议</translation>
    </message>
    <message>
        <source>WhiteBoardshot</source>
        <translation>白板截图</translation>
    </message>
</context>
</TS>
