<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>ByteCount</name>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation>
            <numerusform>%n byte</numerusform>
            <numerusform>%n bytes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ExclusionsWindowController</name>
    <message numerus="yes">
        <source>%n entries of the stored exclusions could not be read and were left out.</source>
        <translation>
            <numerusform>%n entry of the stored exclusions could not be read and was left out.</numerusform>
            <numerusform>%n entries of the stored exclusions could not be read and were left out.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MainViewController</name>
    <message numerus="yes">
        <source>%n application(s) selected</source>
        <translation>
            <numerusform>%n application selected</numerusform>
            <numerusform>%n applications selected</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Remains, not included</source>
        <translation>
            <numerusform>%n ticked under Remains, not included</numerusform>
            <numerusform>%n ticked under Remains, not included</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Applications, not included</source>
        <translation>
            <numerusform>%n ticked under Applications, not included</numerusform>
            <numerusform>%n ticked under Applications, not included</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>NotificationView</name>
    <message numerus="yes">
        <source>%n application(s) not opened for more than 90 days. Scan and uninstall to free up space.</source>
        <translation>
            <numerusform>%n application not opened for more than 90 days. Scan and uninstall to free up space.</numerusform>
            <numerusform>%n applications not opened for more than 90 days. Scan and uninstall to free up space.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PutBackReportText</name>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>Put back %n item (%1).</numerusform>
            <numerusform>Put back %n items (%1).</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RemainsPanelView</name>
    <message numerus="yes">
        <source>Moved %n item(s) (%1) to the Trash; emptying the Trash frees the space.</source>
        <translation>
            <numerusform>Moved %n item (%1) to the Trash; emptying the Trash frees the space.</numerusform>
            <numerusform>Moved %n items (%1) to the Trash; emptying the Trash frees the space.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Removed %n item(s) (%1).</source>
        <translation>
            <numerusform>Removed %n item (%1).</numerusform>
            <numerusform>Removed %n items (%1).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n applications left %1 behind</source>
        <translation>
            <numerusform>%n application left %1 behind</numerusform>
            <numerusform>%n applications left %1 behind</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 and %n more</numerusform>
            <numerusform>%1 and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more</source>
        <translation>
            <numerusform>%n more</numerusform>
            <numerusform>%n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n application(s)</source>
        <translation>
            <numerusform>%n application</numerusform>
            <numerusform>%n applications</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>Put back %n item (%1).</numerusform>
            <numerusform>Put back %n items (%1).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) stayed away: their place is taken, they were emptied from the Trash or could not be moved.</source>
        <translation>
            <numerusform>%n item stayed away: its place is taken, it was emptied from the Trash or it could not be moved.</numerusform>
            <numerusform>%n items stayed away: their place is taken, they were emptied from the Trash or could not be moved.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RequestUninstallWinodowController</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scroll to see all %n.</source>
        <translation>
            <numerusform>Scroll to see all %n.</numerusform>
            <numerusform>Scroll to see all %n.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Remove the remains of %n application(s)?</source>
        <translation>
            <numerusform>Remove the remains of %n application?</numerusform>
            <numerusform>Remove the remains of %n applications?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstall %n application(s)?</source>
        <translation>
            <numerusform>Uninstall %n application?</numerusform>
            <numerusform>Uninstall %n applications?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UninstallCompletedViewController</name>
    <message numerus="yes">
        <source>The remains of the following application(s) have been removed.</source>
        <translation>
            <numerusform>The remains of the following application have been removed.</numerusform>
            <numerusform>The remains of the following applications have been removed.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been uninstalled.</source>
        <translation>
            <numerusform>The following application has been uninstalled.</numerusform>
            <numerusform>The following applications have been uninstalled.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as an application with the same identifier is installed again.</source>
        <translation>
            <numerusform>%n item left, as an application with the same identifier is installed again.</numerusform>
            <numerusform>%n items left, as an application with the same identifier is installed again.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as another file now lies in their place.</source>
        <translation>
            <numerusform>%n item left, as another file now lies in its place.</numerusform>
            <numerusform>%n items left, as another file now lies in their place.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been reset. They stay installed.</source>
        <translation>
            <numerusform>The following application has been reset. It stays installed.</numerusform>
            <numerusform>The following applications have been reset. They stay installed.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UninstallingViewController</name>
    <message numerus="yes">
        <source>Removing the remains of %n application(s)…</source>
        <translation>
            <numerusform>Removing the remains of %n application…</numerusform>
            <numerusform>Removing the remains of %n applications…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstalling %n application(s)…</source>
        <translation>
            <numerusform>Uninstalling %n application…</numerusform>
            <numerusform>Uninstalling %n applications…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Resetting %n application(s)…</source>
        <translation>
            <numerusform>Resetting %n application…</numerusform>
            <numerusform>Resetting %n applications…</numerusform>
        </translation>
    </message>
</context>
</TS>
