<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>ApplicationShell</name>
    <message numerus="yes">
        <source>Tessarin · %n open issue(s)</source>
        <translation>
            <numerusform>Tessarin · %n open issue</numerusform>
            <numerusform>Tessarin · %n open issues</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AttachmentsSection</name>
    <message numerus="yes">
        <source>Attachments (%n)</source>
        <translation>
            <numerusform>Attachments (%n)</numerusform>
            <numerusform>Attachments (%n)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ChangeNotifier</name>
    <message numerus="yes">
        <source>%n of your issues changed</source>
        <translation>
            <numerusform>%n of your issues changed</numerusform>
            <numerusform>%n of your issues changed</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ContentController</name>
    <message numerus="yes">
        <source>%1 of %n shown</source>
        <comment>issues in the list</comment>
        <translation>
            <numerusform>%1 of %n shown</numerusform>
            <numerusform>%1 of %n shown</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DataPage</name>
    <message numerus="yes">
        <source>%n draft(s) of comments, work logs and forms wait in %1 until Jira has them.</source>
        <translation>
            <numerusform>%n draft of comments, work logs and forms waits in %1 until Jira has them.</numerusform>
            <numerusform>%n drafts of comments, work logs and forms wait in %1 until Jira has them.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MessageText</name>
    <message numerus="yes">
        <source>Jira is limiting requests. Wait %n second(s) before trying again.</source>
        <translation>
            <numerusform>Jira is limiting requests. Wait %n second before trying again.</numerusform>
            <numerusform>Jira is limiting requests. Wait %n seconds before trying again.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Jira is limiting requests. Wait %n minute(s) before trying again.</source>
        <translation>
            <numerusform>Jira is limiting requests. Wait %n minute before trying again.</numerusform>
            <numerusform>Jira is limiting requests. Wait %n minutes before trying again.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SettingsController</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <comment>how often the list is refreshed</comment>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s)</source>
        <comment>how often the list is refreshed</comment>
        <translation>
            <numerusform>%n second</numerusform>
            <numerusform>%n seconds</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SourceList</name>
    <message numerus="yes">
        <source>%1, %n issue(s)</source>
        <comment>a source and how many issues it lists</comment>
        <translation>
            <numerusform>%1, %n issue</numerusform>
            <numerusform>%1, %n issues</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TicketDetailView</name>
    <message numerus="yes">
        <source>%n comment(s)</source>
        <translation>
            <numerusform>%n comment</numerusform>
            <numerusform>%n comments</numerusform>
        </translation>
    </message>
</context>
</TS>
