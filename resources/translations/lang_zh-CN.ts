<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>QObject</name>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela 视频会议</translation>
    </message>
    <message>
        <source>COPYRIGHT_STRING</source>
        <translation>版权所有 © 2026 Brivana。保留所有权利。</translation>
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
</context>
</TS>
