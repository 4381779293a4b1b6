<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QObject</name>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela</translation>
    </message>
    <message>
        <source>COPYRIGHT_STRING</source>
        <translation>Copyright © 2026 Brivana. All rights reserved.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Prompt</source>
        <translation>Prompt</translation>
    </message>
    <message>
        <source>Another process of the application is logging in.</source>
        <translation>Another process of the application is logging in.</translation>
    </message>
    <message>
        <source>Another meeting is running on the application.</source>
        <translation>Another meeting is running on the application.</translation>
    </message>
</context>
</TS>
