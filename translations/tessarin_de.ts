<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Tessarin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tessarin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version 1.0</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ApplicationShell</name>
    <message numerus="yes">
        <source>Tessarin · %n open issue(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AttachmentDialogs</name>
    <message>
        <source>Attach Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attach</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Attachment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete this attachment?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is removed from the issue in Jira for everyone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AttachmentUploads</name>
    <message>
        <source>Jira does not take attachments: they are turned off on this server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” can no longer be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is %2; Jira takes files of up to %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AttachmentsSection</name>
    <message numerus="yes">
        <source>Attachments (%n)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Attachments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attach Files…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No attachments. Drop files here or paste an image to attach it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · %2 · %3 · %4</source>
        <comment>size, type, who attached it, when</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · %2 · %3</source>
        <comment>size, type, when</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading… %1 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel download of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save %1 as…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not attached: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attaching %1, %2 percent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attach %1 again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dismiss %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel attaching %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChangeNotifier</name>
    <message numerus="yes">
        <source>%n of your issues changed</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Open Tessarin to see what is new.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is assigned to you</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is new in %2</source>
        <comment>an issue and a source such as “Watching”</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is now %2</source>
        <comment>an issue and its new status</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 commented on %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommentEditorView</name>
    <message>
        <source>Comment</source>
        <comment>the button that posts a comment</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New comment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira wiki markup; @ mentions someone; Ctrl+Enter posts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>People to mention</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Draft</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ContentController</name>
    <message>
        <source>Updated %1</source>
        <comment>%1 is a time such as “5 min. ago”</comment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n shown</source>
        <comment>issues in the list</comment>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Refresh failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira asked to wait until %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira is unavailable, perhaps for maintenance. Tessarin asks again at %1, not before.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira is limiting requests. Tessarin asks again at %1, not before.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type an issue key such as PLAT-417, or words to find the issue by.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Still looking for issues that match; choose one when they appear.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Assigned to Me</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watching</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My Tickets</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A query needs a name and a JQL text.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is a query named “%1” already.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Back to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to Issue… (Ctrl+K)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to Issue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To Do</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sources</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, notifies about changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Query…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add a query</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notify About Changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Query</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search key or summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect to Jira</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add your Jira server URL and Personal Access Token in Settings (Ctrl+,).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading tickets…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Retry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No tickets assigned to you 🎉</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tickets</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the Whole Search in Jira</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a ticket</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CreateIssueForm</name>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Issue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Sub-task of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira lists no project that you can see.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This project has no sub-task types that you may create.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This project has no issue types that you may create.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Look at these fields: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CreateIssueWindow</name>
    <message>
        <source>Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Issue type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open in Jira</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open %1 in Jira</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard Draft</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish in Jira…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Open</source>
        <comment>the button on a notification</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EditIssueForm</name>
    <message>
        <source>%1 is now “%2”; yours is “%3”.</source>
        <extracomment>A field both users changed: its name, the other&apos;s value, the user&apos;s own.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is required.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EditIssueView</name>
    <message>
        <source>Edit %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Someone changed this issue after you began editing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Mine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take Theirs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard Changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FieldEditor</name>
    <message>
        <source>Words separated by spaces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira wiki markup; Ctrl+Enter sends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type a name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YYYY-MM-DD HH:MM</source>
        <comment>the form a date and time is typed in</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YYYY-MM-DD</source>
        <comment>the form a date is typed in</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a date for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>‹</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>›</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set this field in Jira</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open in Jira</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open in Jira to set %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FormField</name>
    <message>
        <source>Enter a number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter a date as YYYY-MM-DD.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter a date and time as YYYY-MM-DD HH:MM.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is required.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GoToIssueDialog</name>
    <message>
        <source>Go to Issue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Issue key, link or words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Issue to open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImageViewer</name>
    <message>
        <source>%1 (%2 of %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be loaded.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IssueAttachments</name>
    <message>
        <source>Attachments could not be loaded: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be downloaded: the folder %2 cannot be made.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be saved: the folder %2 cannot be made.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be saved to %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be downloaded: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is a program or script, which Tessarin never opens. It was saved to %2 instead.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No application could open %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be deleted: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only files can be attached, not %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pasted image could not be written to %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IssueLinkForm</name>
    <message>
        <source>Choose how the issues are linked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type the other issue&apos;s key, such as PLAT-417, or choose it from the suggestions.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An issue cannot be linked to itself.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You may not link these issues.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IssueRelations</name>
    <message>
        <source>You may not remove this link.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IssueSearchField</name>
    <message>
        <source>Suggested issues</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IssueWatch</name>
    <message>
        <source>Stop Watching</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watchers: %1</source>
        <comment>how many people watch the issue</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tessarin does not know your user name yet; try again in a moment.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You may not watch this issue.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JiraClient</name>
    <message>
        <source>The file to send can no longer be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file was closed</source>
        <comment>why a download could not be written</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write the file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The request timed out.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unsupported redirect to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insecure redirect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many redirects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: Jira asked to wait until %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira lists nothing that you may create in project %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: “%1” names no issue or link.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JiraError</name>
    <message>
        <source>Jira returned an error (%1): %2</source>
        <comment>an HTTP status code and its reason</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t understand Jira&apos;s response.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set your Jira server URL and Personal Access Token in Settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Jira server URL is invalid.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KeychainStore</name>
    <message>
        <source>No system keyring (Secret Service) is available, so the token cannot be saved and will be lost when Tessarin quits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The token could not be saved in the system keyring (%1). It will be lost when Tessarin quits.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LinkIssueDialog</name>
    <message>
        <source>Link Issue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How this issue relates to the other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other issue: key, link or words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other issue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Linking…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Tessarin 1.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tessarin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Tessarin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide Tessarin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Tessarin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Issue…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to Issue…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageText</name>
    <message>
        <source>The secure connection to Jira failed. Check the server URL, and whether a proxy or firewall inspects the connection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate changed: SHA-256 %1 is not the trusted %2. The token was not sent. If the server&apos;s administrators replaced it, test the connection in Settings and trust the new one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate (issued to %1) has been revoked by its issuer. The token was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate (issued to %1 by %2) expired on %3. Its administrators must renew it. The token was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate (issued to %1) is valid only from %2. Check this computer&apos;s date and time. The token was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate was issued for %1, not for this address. Check the server URL in Settings. The token was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate (%1) is self-signed. If it is your company&apos;s own, test the connection in Settings and trust it. The token was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate was issued by %1, which this computer does not trust. Add your company&apos;s CA certificates under Network in Settings, or test the connection there and trust this certificate. The token was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not trusted here. If it is your company&apos;s own, test the connection in Settings and trust it. The token was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira answered with a sign-in page instead of data: the token was not accepted, or a single sign-on gateway is in front of Jira. Check the token in Settings; behind a gateway, ask your administrator how tools reach Jira&apos;s REST API.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira wants a CAPTCHA answered after failed sign-ins. Sign in once in the browser to clear it, then refresh.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira did not accept the token. Check it in Settings, or create a new one in your Jira profile under Personal Access Tokens.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The token was accepted, but its user may not use Jira. Ask your Jira administrator for access.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The token was refused: it may have expired or been revoked. Create a new one in your Jira profile under Personal Access Tokens and enter it in Settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The token&apos;s user may not see this. Ask your Jira administrator for access.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira&apos;s REST API is not at this address. Check the server URL in Settings: a context path such as /jira may be missing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Jira is limiting requests. Wait %n second(s) before trying again.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Jira is limiting requests. Wait %n minute(s) before trying again.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Jira is limiting requests. Wait a minute before trying again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira is unavailable, perhaps for maintenance. The next refresh tries again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s name was not found. Check the URL in Settings, and your network or VPN.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing answers at this address. Check the URL and port in Settings, and whether Jira is running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira did not answer in time. The server or the network (a VPN?) may be slow or down.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy asks for a user name and password, or refused the ones given. Enter them under Network in Settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy could not be used, or refused the user name and password given. Check it under Network in Settings, or the system&apos;s proxy setting (http_proxy, https_proxy, no_proxy).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Correct it under Network in Settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira asks for a client certificate. Choose yours (a .p12 file, or a PEM certificate and its key) under Network in Settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira did not accept the client certificate. Check that it is the one your company issued for Jira and that it has not expired or been revoked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The token “%1” expires on %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your Jira token “%1” expired on %2. Create a new one in your Jira profile (Personal Access Tokens) and enter it in Settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your Jira token “%1” expires on %2. Create a new one in your Jira profile (Personal Access Tokens) and enter it in Settings.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkSettingsWindow</name>
    <message>
        <source>Network</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CA certificates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the CA certificates file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your company&apos;s certificate authorities (PEM), trusted besides the system&apos;s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CA Certificates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PEM certificates (*.pem *.crt *.cer)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the client certificate file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>For servers that ask for one: a .p12 file, or a PEM certificate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client Certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificates (*.p12 *.pfx *.pem *.crt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the client key file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The PEM certificate&apos;s private key, if it is in a file of its own.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PEM keys (*.pem *.key)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Passphrase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kept in the system keyring.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The system&apos;s setting reads http_proxy, https_proxy and no_proxy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No proxy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTTP proxy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SOCKS5 proxy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User (if it asks)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy user</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy password</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkSetup</name>
    <message>
        <source>The CA certificates file %1 could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The CA certificates file %1 holds no PEM certificate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client certificate file %1 could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 holds no PEM certificate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client key file %1 could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No private key was found for the client certificate: choose its key file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client certificate&apos;s key is protected by a passphrase: enter it in the settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The passphrase of the client certificate&apos;s key is wrong.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client certificate&apos;s key could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client certificate could not be opened: it may need its passphrase.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client certificate could not be opened: the passphrase is wrong, or the file is not a PKCS#12 (.p12, .pfx) file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client certificate expired on %1: ask for a new one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client certificate is valid only from %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy needs a host and a port.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QueryDialog</name>
    <message>
        <source>Add Query</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Query name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JQL, e.g. reporter = currentUser() ORDER BY updated DESC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JQL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RelationRow</name>
    <message>
        <source>%1: %2, %3</source>
        <comment>an issue&apos;s key, summary and status</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Removing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the link to %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RelationsSection</name>
    <message>
        <source>Related Issues</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link Issue…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link Issue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No parent, sub-tasks or links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sub-tasks</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RowMenu</name>
    <message>
        <source>Copy Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Sub-task…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsController</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <comment>how often the list is refreshed</comment>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s)</source>
        <comment>how often the list is refreshed</comment>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>The keyring cannot keep the token: it will be lost when Tessarin quits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With http:// the token would travel unencrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cached data cleared</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not clear cached data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected as %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This server&apos;s certificate (SHA-256 %1) is now the one trusted for it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected as %1 · Jira Data Center %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected as %1 · Jira Server %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected as %1 · Jira %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SHA-256 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Issued to: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Issued by: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Valid from %1 to %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Jira Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notifications…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notification settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear cached data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your Jira Server / Data Center base URL.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>https://jira.example-corp.com</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Personal Access Token</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jira profile ▸ Personal Access Tokens.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Self-signed certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trust it if your Jira uses an internal CA.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How often to check for updates.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Certificate…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check the server&apos;s certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notifications and Tray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tell the desktop when, in my issues:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an issue is assigned to me</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notify when an issue is assigned to me</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>someone else changes a status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notify when someone else changes a status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>someone else comments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notify when someone else comments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tell me the same of issues I watch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notify of changes to issues I watch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep running in the tray when the window is closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No system tray runs on this desktop.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trust it only if it is your server&apos;s own: compare the fingerprint with the one your administrators give.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trust This Certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SourceList</name>
    <message numerus="yes">
        <source>%1, %n issue(s)</source>
        <comment>a source and how many issues it lists</comment>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SummaryEditor</name>
    <message>
        <source>Summary</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TicketDetail</name>
    <message>
        <source>Estimated %1</source>
        <comment>time tracking: the original estimate</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remaining %1</source>
        <comment>time tracking: the remaining estimate</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logged %1</source>
        <comment>time tracking: the time logged</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No transitions available</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TicketDetailView</name>
    <message>
        <source>Edit…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Sub-task…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Sub-task</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log Work…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log Work</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open in Jira</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Priority: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Assignee: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unassigned</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Assign to Me</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find a person</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find a person to assign</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Due %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not in the current list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete this comment?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The comment is removed from Jira for everyone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No description.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comments could not be loaded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No comments.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit comment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete comment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n comment(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TicketRow</name>
    <message>
        <source>Priority %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <extracomment>A row&apos;s issue type and project, e.g. &quot;Bug · Platform Services&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TicketStore</name>
    <message>
        <source>Set your Jira server URL and Personal Access Token in Settings.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransitionFormView</name>
    <message>
        <source>This transition needs a field that only Jira can set.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayPresence</name>
    <message>
        <source>Open Tessarin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Issue…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Tessarin</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkLogForm</name>
    <message>
        <source>Enter the time in Jira&apos;s notation, such as 1h 30m, 2d or 45m.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter when the work started as YYYY-MM-DD HH:MM.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkLogView</name>
    <message>
        <source>Log Work</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time spent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1h 30m, 2d, 45m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YYYY-MM-DD HH:MM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Optional</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Work log comment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard work log</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>A desktop client for the Jira Server issues assigned to you.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
