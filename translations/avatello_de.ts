<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>avatello::Form1</name>
    <message>
        <source>Avatello: press Tab for the buttons</source>
        <translation>Avatello: mit Tab zu den Schaltflächen</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Sichern</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Extras</translation>
    </message>
    <message>
        <source>Icon To Edit</source>
        <translation>Icon in Arbeit</translation>
    </message>
    <message>
        <source>The 48 by 48 pixel icon being edited. A press sets where text goes.</source>
        <translation>Das Icon in Arbeit, 48 mal 48 Pixel. Ein Klick darauf legt fest, wohin Text kommt.</translation>
    </message>
    <message>
        <source>arrow</source>
        <translation>Pfeil</translation>
    </message>
    <message>
        <source>Finished Icon</source>
        <translation>Fertiges Icon</translation>
    </message>
    <message>
        <source>The finished icon that Save writes. Finished copies the icon to it.</source>
        <translation>Das fertige Icon, das Sichern schreibt. Fertig kopiert das Icon hierher.</translation>
    </message>
    <message>
        <source>Undo copy</source>
        <translation>Kopie für Rückgängig</translation>
    </message>
    <message>
        <source>Empty picture</source>
        <translation>Leeres Bild</translation>
    </message>
    <message>
        <source>Text position across</source>
        <translation>Textposition waagerecht</translation>
    </message>
    <message>
        <source>Text position down</source>
        <translation>Textposition senkrecht</translation>
    </message>
    <message>
        <source>New Blank Icon</source>
        <translation>Neues weißes Icon</translation>
    </message>
    <message>
        <source>New Black Icon</source>
        <translation>Neues schwarzes Icon</translation>
    </message>
    <message>
        <source>Choose Color</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>AIM Back Color</source>
        <comment>New menu: a new icon</comment>
        <translation>AIM-Hintergrundfarbe</translation>
    </message>
    <message>
        <source>Templates</source>
        <translation>Vorlagen</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>The Best Page In The Universe</source>
        <translation>Die beste Seite im Universum</translation>
    </message>
    <message>
        <source>Add Text</source>
        <translation>Text hinzufügen</translation>
    </message>
    <message>
        <source>Move Text</source>
        <translation>Text verschieben</translation>
    </message>
    <message>
        <source>Change Font</source>
        <translation>Schrift ändern</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Back Color</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <source>AIM Back Color</source>
        <comment>Edit menu: the background only</comment>
        <translation>AIM-Hintergrundfarbe</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>The web page %1 could not be opened.</source>
        <translation>Die Webseite %1 konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Avatello/Maker</source>
        <translation>Avatello/Macher</translation>
    </message>
    <message>
        <source>Made By </source>
        <translation>Gemacht von </translation>
    </message>
    <message>
        <source>Contact: </source>
        <translation>Kontakt: </translation>
    </message>
    <message>
        <source>Visit: </source>
        <translation>Webseite: </translation>
    </message>
    <message>
        <source>About Avatello</source>
        <translation>Über Avatello</translation>
    </message>
    <message>
        <source>All Files (*.*)|*.*|JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp</source>
        <extracomment>Translate the descriptions only: the patterns and the bars between them stay as they are.</extracomment>
        <translation>Alle Dateien (*.*)|*.*|JPG-Dateien (*.jpg)|*.jpg|GIF-Dateien (*.gif)|*.gif|BMP-Dateien (*.bmp)|*.bmp</translation>
    </message>
    <message>
        <source>JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp|All Files (*.*)|*.*</source>
        <extracomment>Translate the descriptions only: the patterns and the bars between them stay as they are.</extracomment>
        <translation>JPG-Dateien (*.jpg)|*.jpg|GIF-Dateien (*.gif)|*.gif|BMP-Dateien (*.bmp)|*.bmp|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Choose Back Color</source>
        <translation>Hintergrundfarbe wählen</translation>
    </message>
    <message>
        <source>Load Icon</source>
        <translation>Icon laden</translation>
    </message>
    <message>
        <source>The picture
%1
is too large to open.

Save a smaller copy of it, or of its top-left corner, and load that.</source>
        <translation>Das Bild
%1
ist zu groß zum Öffnen.

Sichern Sie eine kleinere Kopie davon oder von seiner linken oberen Ecke und laden Sie diese.</translation>
    </message>
    <message>
        <source>Save Icon</source>
        <translation>Icon sichern</translation>
    </message>
    <message>
        <source>The icon could not be saved to
%1

%2</source>
        <translation>Das Icon konnte nicht gesichert werden unter
%1

%2</translation>
    </message>
    <message>
        <source>Text To Add:</source>
        <translation>Text zum Hinzufügen:</translation>
    </message>
    <message>
        <source>Choose New Icon Color</source>
        <translation>Neue Icon-Farbe wählen</translation>
    </message>
    <message>
        <source>Add Text</source>
        <comment>the prompt&apos;s title</comment>
        <translation>Neuer Text</translation>
    </message>
    <message>
        <source>The file
%1
cannot be opened: %2.</source>
        <translation>Die Datei
%1
kann nicht geöffnet werden: %2.</translation>
    </message>
</context>
<context>
    <name>avatello::Form2</name>
    <message>
        <source>Move Text</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Move Text: press Tab for the buttons</source>
        <translation>Text verschieben: mit Tab zu den Schaltflächen</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move Left</source>
        <translation>Nach links</translation>
    </message>
    <message>
        <source>Move Right</source>
        <translation>Nach rechts</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
</context>
<context>
    <name>avatello::Form3</name>
    <message>
        <source>Avatello Help</source>
        <translation>Avatello-Hilfe</translation>
    </message>
    <message>
        <source>Topics</source>
        <translation>Themen</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Hilfetext</translation>
    </message>
</context>
<context>
    <name>avatello::Form4</name>
    <message>
        <source>Change Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Change Font: press Tab for the lists</source>
        <translation>Schrift ändern: mit Tab zu den Listen</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>avatello::Form5</name>
    <message>
        <source>Templates</source>
        <translation>Vorlagen</translation>
    </message>
    <message>
        <source>Template %1</source>
        <translation>Vorlage %1</translation>
    </message>
</context>
<context>
    <name>avatello::HelpTopics</name>
    <message>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Load a 50x50 buddy icon from the supported file formats (jpg, gif, bmp).</source>
        <translation>Lädt ein 50x50-Buddy-Icon aus einem der unterstützten Dateiformate (jpg, gif, bmp).</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Sichern</translation>
    </message>
    <message>
        <source>The icon on the right is the finished product. Save your icon to a folder of your choice, choose between the supported file formats or All Files. You must click Update before saving.</source>
        <translation>Das Icon rechts ist das fertige Ergebnis. Sichern Sie Ihr Icon in einem Ordner Ihrer Wahl; wählen Sie eines der unterstützten Dateiformate oder Alle Dateien. Vor dem Sichern müssen Sie auf Fertig klicken.</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Create a new blank icon from a color of your choice, it will erase the existing icon. Choose AIM Back Color for an icon that looks transparent when a user views it on AIM. Template has pre-made icons for you to add your text, double click the desired icon to load it.</source>
        <translation>Erstellt ein neues leeres Icon in einer Farbe Ihrer Wahl; das bisherige Icon wird dabei gelöscht. Wählen Sie AIM-Hintergrundfarbe für ein Icon, das bei AIM durchsichtig wirkt. Vorlagen bietet fertige Icons für Ihren Text; doppelklicken Sie auf das gewünschte Icon, um es zu laden.</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>This will update the icon on the right, you must click this before saving.</source>
        <translation>Bringt das Icon rechts auf den neuesten Stand; klicken Sie hierauf vor dem Sichern.</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Add Text   - Adds text to your icon. Undo this action by clicking Undo.<byte value="xd"/>
---------------<byte value="xd"/>
Move Text - Moves the most recently added text so it will fit your icon.<byte value="xd"/>
---------------<byte value="xd"/>
Change Font - Change Font Face and Size, default face is Tahoma, default size is 8. If you want to change the defaults do it before you add your text.<byte value="xd"/>
---------------<byte value="xd"/>
Text Color - Choose your color before you add text, otherwise your text will be the default <byte value="xd"/>
color (black).<byte value="xd"/>
---------------<byte value="xd"/>
Back Color - Change the background color of your icon. If you want to change the back color <byte value="xd"/>
change it before you add any text. Choose AIM Back Color for the default AIM Color. It will <byte value="xd"/>
look transparent except for the image/text.<byte value="xd"/>
</source>
        <translation>Text hinzufügen - Fügt Ihrem Icon Text hinzu. Rückgängig nimmt ihn wieder weg.<byte value="xd"/>
---------------<byte value="xd"/>
Text verschieben - Verschiebt den zuletzt hinzugefügten Text, damit er in Ihr Icon passt.<byte value="xd"/>
---------------<byte value="xd"/>
Schrift ändern - Ändert Schriftart und Größe; voreingestellt sind Tahoma und 8. Wenn Sie das ändern wollen, tun Sie es, bevor Sie Ihren Text hinzufügen.<byte value="xd"/>
---------------<byte value="xd"/>
Textfarbe - Wählen Sie Ihre Farbe, bevor Sie Text hinzufügen, sonst hat Ihr Text die voreingestellte Farbe (Schwarz).<byte value="xd"/>
---------------<byte value="xd"/>
Hintergrundfarbe - Ändert die Hintergrundfarbe Ihres Icons. Wenn Sie sie ändern wollen, tun Sie es, bevor Sie Text hinzufügen. Wählen Sie AIM-Hintergrundfarbe für die übliche AIM-Farbe. Das Icon wirkt dann bis auf Bild und Text durchsichtig.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Extras</translation>
    </message>
    <message>
        <source>Option to minimize the program, view about and help.</source>
        <translation>Minimiert das Programm und zeigt Angaben über Avatello und die Hilfe.</translation>
    </message>
    <message>
        <source>Avatello Help<byte value="xd"/>
&lt;-- Choose Topic<byte value="xd"/>
</source>
        <translation>Avatello-Hilfe<byte value="xd"/>
&lt;-- Thema wählen<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>avatello::Program</name>
    <message>
        <source>%1; starting without it</source>
        <translation>%1; Start ohne die Datei</translation>
    </message>
</context>
<context>
    <name>avatello::QtServices</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>avatello::Refusal</name>
    <message>
        <source>not a BMP, GIF or JPEG picture, or a damaged one</source>
        <translation>kein BMP-, GIF- oder JPEG-Bild, oder ein beschädigtes</translation>
    </message>
    <message>
        <source>the picture is too large to open</source>
        <translation>das Bild ist zu groß zum Öffnen</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>diese Datei gibt es nicht</translation>
    </message>
    <message>
        <source>a link to a file that does not exist</source>
        <translation>eine Verknüpfung auf eine Datei, die es nicht gibt</translation>
    </message>
    <message>
        <source>a folder, not a picture file</source>
        <translation>ein Ordner, keine Bilddatei</translation>
    </message>
    <message>
        <source>a named pipe, device or socket, not a picture file</source>
        <translation>eine Pipe, ein Gerät oder ein Socket, keine Bilddatei</translation>
    </message>
    <message>
        <source>not allowed to read it</source>
        <translation>keine Berechtigung zum Lesen</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>die Datei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>a file on another computer</source>
        <translation>eine Datei auf einem anderen Rechner</translation>
    </message>
    <message>
        <source>a name that no file can have</source>
        <translation>ein Name, den keine Datei haben kann</translation>
    </message>
</context>
<context>
    <name>avatello::maker</name>
    <message>
        <source>the Avatello developers</source>
        <translation>den Avatello-Entwicklern</translation>
    </message>
</context>
</TS>
