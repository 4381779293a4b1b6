<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AlertDlg</name>
    <message>
        <source>Note</source>
        <translation type="unfinished">Note</translation>
    </message>
</context>
<context>
    <name>CAttendeesButton</name>
    <message>
        <source>Attendees</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CAttendessWidgets</name>
    <message>
        <source>Attendees</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video(%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio(%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConferenceItemWidget</name>
    <message>
        <source>Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ongoing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applicant:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConferencesDetailPage</name>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting detail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Participaints</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Immediate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConferencesErrorPage</name>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConferencesMainPage</name>
    <message>
        <source>My room</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting ID:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConferencesMyroomPage</name>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My room</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConferencesSchedulePage</name>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy/MM/dd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HH:mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Participaints</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schedule meeting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit meeting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;s meeting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConferencesSelectuserPage</name>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConferencesToolBtn</name>
    <message>
        <source>My room</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schedule meeting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join meeting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConferencestableview</name>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CContactsAddDelegate</name>
    <message>
        <source>Added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CContactsListview</name>
    <message>
        <source>Organization</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add contacts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My contacts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(Me)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CContactsWidget</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Telephone</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CContainerSettingsFormWidget</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CEmptyForm</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CHomeDlg</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join a Meeting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CHomeExitButton</name>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CJoinConfDlg</name>
    <message>
        <source>Join a Meeting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn off Microphone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn off Camera</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CJoinConfWidget</name>
    <message>
        <source>Join a Meeting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn off Microphone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn off Camera</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLayoutToolbarDlg</name>
    <message>
        <source>Show PIP</source>
        <translation type="unfinished">Show PIP</translation>
    </message>
    <message>
        <source>Hang Up</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CManagerButtonWidget</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Management</source>
        <translation type="unfinished">Management</translation>
    </message>
</context>
<context>
    <name>CMediaStatisticsDlg</name>
    <message>
        <source>Media Statistics</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMyHeadpicDlg</name>
    <message>
        <source>Photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Best size 800x800 and within 1MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMyInfoDlg</name>
    <message>
        <source>Account:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Organization</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logout</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMyPasswordDlg</name>
    <message>
        <source>Change Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Old password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask administrator to reset if forget</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNumberButton</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Management</source>
        <translation type="unfinished">Management</translation>
    </message>
</context>
<context>
    <name>CSelectShareContent</name>
    <message>
        <source>Choose to share content</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>appwindow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share Computer Sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferred Fluency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSettingsForm</name>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screen Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable SIP Registration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIP Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIP Domain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIP Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIP Username</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Snapshot Path:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login automatically when app starts up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answer incoming calls automatically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start app when I start windows</source>
        <translation>Start app when I log in</translation>
    </message>
    <message>
        <source>Automatic save a snapshot when close whiteboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use a separate window when viewing the video content shared by others</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable prompt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If checked, prompt information such as network status is not popup after joining conference.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full screen when entering a meeting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable Share</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join the meeting next time to take effect.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microphone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speaker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play Test Music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play the test music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Intelligent Noise Reduction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When enabled, noise other than people voice is reduced intelligently.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Render Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D3D</source>
        <translation>OpenGL</translation>
    </message>
    <message>
        <source>GDI</source>
        <translation>Software</translation>
    </message>
    <message>
        <source>Enable high frame rate video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If checked, the high frame rate 25fps is preferred in video tranfer.</source>
        <translation>If checked, the high frame rate 25fps is preferred in video transfer.</translation>
    </message>
    <message>
        <source>Support 1080p</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable hard encode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable hard decode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No report currently</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please log in to check report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network status is normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pleas make a call to view more data</source>
        <translation>Please make a call to view more data</translation>
    </message>
    <message>
        <source>COPYRIGHT_STRING</source>
        <translation>Copyright © 2026 Brivana. All rights reserved.</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CUpdateMessageWidget</name>
    <message>
        <source>Software Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CWebreportDataTableWidget</name>
    <message>
        <source>Network quality(Audio)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Audio download packet lost)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Audio upload packet lost)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Audio download jitter)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Audio upload jitter)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Audio delay)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Video)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Video download packet lost)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Video upload packet lost)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Video download jitter)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Video upload jitter)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Video delay)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Content)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Content download packet lost)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Content upload packet lost)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Content download jitter)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Content upload jitter)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network quality(Content delay)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Poor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unreachable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download jitter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload jitter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download packet lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload packet lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login service connection status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Registration service connection status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Service address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call rate(Download)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call rate(Upload)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CWebreportDetailsDlg</name>
    <message>
        <source>Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CopyResults</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CbackgroundWidget</name>
    <message>
        <source>Show PIP</source>
        <translation>Show PIP</translation>
    </message>
</context>
<context>
    <name>CompactWidget</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FeedBackDlg</name>
    <message>
        <source>Feedback</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Problem/Suggestion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contact info(optional)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sure</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela</translation>
    </message>
    <message>
        <source>COPYRIGHT_STRING</source>
        <translation type="vanished">Copyright © 2026 Brivana. All rights reserved.</translation>
    </message>
</context>
<context>
    <name>kd_app::models::CCallController</name>
    <message>
        <source>Note</source>
        <translation type="unfinished">Note</translation>
    </message>
    <message>
        <source>Not registered to the video service, please try to log in again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::models::CUCMApiManager</name>
    <message>
        <source>Unsupported API version(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid token(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid parameter(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The parameter exceeds the setting range(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid media type, only &quot;application/json&quot; is supported(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You don&apos;t have permission to perform this operation(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Misspelling of the field name in the JSON string(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internal error(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting does not exist(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The meeting is being initiated or in progress(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The meeting has ended or has been deleted(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate could not be verified, the connection is not safe(%1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::AlertDlg</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CAttendessWidgets</name>
    <message>
        <source>Video(%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio(%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CConferencesWidget</name>
    <message>
        <source>Note</source>
        <translation type="unfinished">Note</translation>
    </message>
    <message>
        <source>Are you sure to delete meeting?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to terminate meeting?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CContactsWidget</name>
    <message>
        <source>Prompt</source>
        <translation type="unfinished">Prompt</translation>
    </message>
    <message>
        <source>Sure you want to delete contact?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CContainerSettingsFormWidget</name>
    <message>
        <source>There are no settings to change in this version.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CDeviceMenuWidget</name>
    <message>
        <source>System Default</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CDownloadThread</name>
    <message>
        <source>The latest software is found (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished">Prompt</translation>
    </message>
    <message>
        <source>Failed to execute upgrade.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The upgrade package is saved in %1, you can install it yourself.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The package does not match its checksum.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CHomeDlg</name>
    <message>
        <source>Signed in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signed in as %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are not signed in.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back to Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join a Meeting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meetings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contacts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished">Note</translation>
    </message>
    <message>
        <source>Changes are not saved, Are you sure you want to leave?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished">Prompt</translation>
    </message>
    <message>
        <source>Your account logged in on another device at %1. This session finished automatically.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to close app?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CJoinConfRules</name>
    <message>
        <source>Input meeting ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video Join</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio Join</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLayoutBackgroundDlg</name>
    <message>
        <source>Meeting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calling...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Incoming call</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hang Up</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLayoutCellCoverDlg</name>
    <message>
        <source>%1&apos;s Screen Sharing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLayoutPeopleSettingDlg</name>
    <message>
        <source>The request for sending conent is denied due to lack of permission.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have been muted by meeting host.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are unmuted, other participants can hear you now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microphone Muted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speech request has been sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video is stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video is enabled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No microphone device available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current microphone: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No speaker device available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current speaker: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No camera device available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current camera: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network is not stable now, it may impact your conferencing experience.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network is in very poor status, recommend checking network or switching to better network.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network bandwidth is insufficient, it may impact your conferencing experience.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network bandwidth is in serious shortage, recommend checking network bandwidth or switching to better network.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not allowed to unmute.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished">Prompt</translation>
    </message>
    <message>
        <source>There is no microphone found and other can not listen to you. Please check microphone device.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting manager is unmuting you, do you agree?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLayoutToolbarDlg</name>
    <message>
        <source>Mute</source>
        <translation type="unfinished">Mute</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation type="unfinished">Unmute</translation>
    </message>
    <message>
        <source>Stop Video</source>
        <translation type="unfinished">Stop Video</translation>
    </message>
    <message>
        <source>Enable Video</source>
        <translation type="unfinished">Enable Video</translation>
    </message>
    <message>
        <source>Layout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume</source>
        <translation type="unfinished">Volume</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to leave the meeting?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLoginChangePasswordForm</name>
    <message>
        <source>Please change the password for security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Input Your Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished">Prompt</translation>
    </message>
    <message>
        <source>Confirm Password is not consistent with New Password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password length is %1-%2 characters
The following special characters can be input %3
Please input at least %4 combinations by upper case letters, numbers and special characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new and old password is the same.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change new password failed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLoginDlg</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLoginInfoForm</name>
    <message>
        <source>Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Input Server Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Input Your Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Input Your Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Input Port Number (Optional)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTTPS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skipped Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Guest Join Meeting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished">Prompt</translation>
    </message>
    <message>
        <source>The value of port can only be number from 1 to 65535.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CLoginJoinConfForm</name>
    <message>
        <source>Join Meeting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Input Server Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Input Meeting Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Input Display Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting Password(Optional)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Input Meeting Password (Optional)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The username can not be empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The length of username can not exceed %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The username can not contain &quot;, &lt;, &gt;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished">Prompt</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMainDlgManager</name>
    <message>
        <source>Note</source>
        <translation type="unfinished">Note</translation>
    </message>
    <message>
        <source>Not registered to the video service, please try to log in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown error(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sdk is not initialized(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bad format for sdk(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The operation is only supported in a conference(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bad parameter for sdk(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to register(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internal error in sdk(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server unreachable, please try again later(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid server(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The other party has hung up(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The other party is busy(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call timeout(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not login(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call timeout, terminate the call(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to resolve domain, please check if the domain service setting is correct(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid token(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation failure(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internal error(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid username or password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account is locked(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account is not used(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to connect to media server(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No resource(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The device is not in allow list(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The number of concurrent calls reaches maximum(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid URL address(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid registration password(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid registration username(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Registration identification is used(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The registration username and authentication username are inconsistent(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred in the registration server(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The endpoint is not registerred(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to connect to CCM(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to connect to UCM(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The call is forbidden by UCM(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The contact is offline(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The meeting can not be activated(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid parameter(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid meeting room password(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The meeting room password is required(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No media resource(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to create meeting room(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No permission to create meeting room(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The meeting room is existed(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Creating meeting room is forbidden(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The meeting is locked(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network unavailable. Please check and try again(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meeting ended or terminated by meeting host(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid server address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to login(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received error(%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished">Prompt</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMediaStatisticsDlg</name>
    <message>
        <source>Media Direction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Codec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line Rate
(kbps)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual Line Rate
(kbps)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame Rate
(fps)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Packet Lost Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encryption</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMediaStatisticsFormat</name>
    <message>
        <source>Audio In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Content In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Content Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White Board In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White Board Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not encrypted</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMenuMoreWidget</name>
    <message>
        <source>Speech Request</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMyHeadpicDlg</name>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload picture failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload picture succeeded</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMyInfoDlg</name>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid input format</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CMyPasswordDlg</name>
    <message>
        <source>Prompt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Old password is wrong!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new and old password is the same.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm Password is not consistent with New Password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password length is %1-%2 characters
The following special characters can be input %3
Please input at least %4 combinations by upper case letters, numbers and special characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong old password format.(4-16 characters and no spaces)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong new password format.(4-16 characters and no spaces)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong confirm password format.(4-16 characters and no spaces)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change new password failed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CSelectShareContent</name>
    <message>
        <source>Other participants will be able to hear the audio being played on your computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ensure shared content fluency first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished">Note</translation>
    </message>
    <message>
        <source>Service is not connected, please wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Receiving whiteboard.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CSettingsForm</name>
    <message>
        <source>System Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela</translation>
    </message>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished">Note</translation>
    </message>
    <message>
        <source>Changes are not saved, Are you sure you want to leave?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please set the snapshot path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished">Prompt</translation>
    </message>
    <message>
        <source>Not found new version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input Server Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved Successfully!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to resolve domain, please check if the domain service setting is correct. (Server address: %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network connection timeout, please check network connection or firewall setting. (Server address: %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not receive bitstream, please check if the firewall among servers and relevant settings is correct.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please refer to the detail information about error content.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network status is normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network status is abnormal</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CUpdateMessageWidget</name>
    <message>
        <source>Do you want to install the latest software?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>download failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading the latest software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bytes/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kB/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MB/s</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CWebreportDetailsDlg</name>
    <message>
        <source>Prompt</source>
        <translation type="unfinished">Prompt</translation>
    </message>
    <message>
        <source>Details have been copied to the system clipboard</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CWhiteBoardBackgroundUpload</name>
    <message>
        <source>Choose to upload picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image files(*.jpg *.png *.jpeg);;All files (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CWidgetContents</name>
    <message>
        <source>Screen %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WhiteBoard</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CallInviteWidget</name>
    <message>
        <source>You are invited to join meeting:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CallWaitingWidget</name>
    <message>
        <source>Waiting...# </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> now</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::CbackgroundWidget</name>
    <message>
        <source>Voice</source>
        <translation>Voice</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>Drawing</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Management</source>
        <translation>Management</translation>
    </message>
    <message>
        <source>Stop Sound</source>
        <translation>Stop Sound</translation>
    </message>
    <message>
        <source>Share Sound</source>
        <translation>Share Sound</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Are you sure to stop?</source>
        <translation>Are you sure to stop?</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>Screenshot</translation>
    </message>
</context>
<context>
    <name>kd_app::views::FeedBackDlg</name>
    <message>
        <source>Please fill in the problem description of more than 10 words, so that we can help you solve the problem more precisely.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill in your mobile phone number or email address, so that we can contact you.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploaded failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploaded successfully</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save successfully</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::PaintListWidget</name>
    <message>
        <source>Mouse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Marker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Revoke</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::menuAudioWidget</name>
    <message>
        <source>Select microphone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select speaker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio setting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kd_app::views::menuVideoWidget</name>
    <message>
        <source>Select camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video setting</source>
        <translation type="unfinished"></translation>
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
    <message>
        <source>The running application could not be reached.</source>
        <translation>The running application could not be reached.</translation>
    </message>
</context>
<context>
    <name>CWebBrowserLoadFailedForm</name>
    <message>
        <source>Failed to load, please check your network.</source>
        <translation type="unfinished">Failed to load, please check your network.</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation type="unfinished">Reload</translation>
    </message>
</context>
<context>
    <name>CWebBrowserLoadingForm</name>
    <message>
        <source>Trying to load...</source>
        <translation type="unfinished">Trying to load...</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CSharingToolbarControls</name>
    <message>
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>Unmute</translation>
    </message>
    <message>
        <source>Stop Video</source>
        <translation>Stop Video</translation>
    </message>
    <message>
        <source>Enable Video</source>
        <translation>Enable Video</translation>
    </message>
</context>
<context>
    <name>kd_app::views::CSnapshotSaver</name>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Save successfully</source>
        <translation>Save successfully</translation>
    </message>
    <message>
        <source>Save failed</source>
        <translation>Save failed</translation>
    </message>
</context>
<context>
    <name>WhiteBoardTopWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Show PIP</source>
        <translation>Show PIP</translation>
    </message>
</context>
<context>
    <name>kd_app::views::WhiteBoardTopWidget</name>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>Drawing</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Management</source>
        <translation>Management</translation>
    </message>
</context>
<context>
    <name>kd_app::views::WhiteBoardDlg</name>
    <message>
        <source>PRODUCT_NAME</source>
        <translation>Parvela</translation>
    </message>
    <message>
        <source>WhiteBoardshot</source>
        <translation>WhiteBoardshot</translation>
    </message>
</context>
</TS>
