<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>TClipboard</name>
    <message>
        <source>クリップボードを開くことができません</source>
        <translation>Cannot open the clipboard</translation>
    </message>
</context>
<context>
    <name>TIniFile</name>
    <message>
        <source>%1 に書き込めません</source>
        <translation>Cannot write to %1</translation>
    </message>
</context>
<context>
    <name>TMainForm1</name>
    <message>
        <source>コピー形式(&amp;C)</source>
        <translation>&amp;Copy as</translation>
    </message>
    <message>
        <source>常に手前に表示(&amp;S)</source>
        <translation>Alway&amp;s on top</translation>
    </message>
    <message>
        <source>インフォメーション(&amp;I)...</source>
        <translation>&amp;Information...</translation>
    </message>
    <message>
        <source>終了する(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
</TS>
