<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>avatello::Form1</name>
    <message>
        <source>Avatello: press Tab for the buttons</source>
        <translation>Avatello : Tab pour aller aux boutons</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Charger</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Sauver</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Autres</translation>
    </message>
    <message>
        <source>Icon To Edit</source>
        <translation>Icône à modifier</translation>
    </message>
    <message>
        <source>The 48 by 48 pixel icon being edited. A press sets where text goes.</source>
        <translation>L’icône de 48 sur 48 pixels en cours de modification. Un clic choisit où va le texte.</translation>
    </message>
    <message>
        <source>arrow</source>
        <translation>flèche</translation>
    </message>
    <message>
        <source>Finished Icon</source>
        <translation>Icône terminée</translation>
    </message>
    <message>
        <source>The finished icon that Save writes. Finished copies the icon to it.</source>
        <translation>L’icône terminée qu’écrit Sauver. Terminé y copie l’icône.</translation>
    </message>
    <message>
        <source>Undo copy</source>
        <translation>Copie pour Annuler</translation>
    </message>
    <message>
        <source>Empty picture</source>
        <translation>Image vide</translation>
    </message>
    <message>
        <source>Text position across</source>
        <translation>Position horizontale du texte</translation>
    </message>
    <message>
        <source>Text position down</source>
        <translation>Position verticale du texte</translation>
    </message>
    <message>
        <source>New Blank Icon</source>
        <translation>Nouvelle icône blanche</translation>
    </message>
    <message>
        <source>New Black Icon</source>
        <translation>Nouvelle icône noire</translation>
    </message>
    <message>
        <source>Choose Color</source>
        <translation>Choisir une couleur</translation>
    </message>
    <message>
        <source>AIM Back Color</source>
        <comment>New menu: a new icon</comment>
        <translation>Couleur de fond AIM</translation>
    </message>
    <message>
        <source>Templates</source>
        <translation>Modèles</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>The Best Page In The Universe</source>
        <translation>La meilleure page de l’univers</translation>
    </message>
    <message>
        <source>Add Text</source>
        <translation>Ajouter du texte</translation>
    </message>
    <message>
        <source>Move Text</source>
        <translation>Déplacer le texte</translation>
    </message>
    <message>
        <source>Change Font</source>
        <translation>Changer la police</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Couleur du texte</translation>
    </message>
    <message>
        <source>Back Color</source>
        <translation>Couleur de fond</translation>
    </message>
    <message>
        <source>AIM Back Color</source>
        <comment>Edit menu: the background only</comment>
        <translation>Couleur de fond AIM</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>The web page %1 could not be opened.</source>
        <translation>La page web %1 n’a pas pu être ouverte.</translation>
    </message>
    <message>
        <source>Avatello/Maker</source>
        <translation>Avatello/Créateur</translation>
    </message>
    <message>
        <source>Made By </source>
        <translation>Créé par </translation>
    </message>
    <message>
        <source>Contact: </source>
        <translation>Contact : </translation>
    </message>
    <message>
        <source>Visit: </source>
        <translation>Site : </translation>
    </message>
    <message>
        <source>About Avatello</source>
        <translation>À propos d’Avatello</translation>
    </message>
    <message>
        <source>All Files (*.*)|*.*|JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp</source>
        <extracomment>Translate the descriptions only: the patterns and the bars between them stay as they are.</extracomment>
        <translation>Tous les fichiers (*.*)|*.*|Fichiers JPG (*.jpg)|*.jpg|Fichiers GIF (*.gif)|*.gif|Fichiers BMP (*.bmp)|*.bmp</translation>
    </message>
    <message>
        <source>JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp|All Files (*.*)|*.*</source>
        <extracomment>Translate the descriptions only: the patterns and the bars between them stay as they are.</extracomment>
        <translation>Fichiers JPG (*.jpg)|*.jpg|Fichiers GIF (*.gif)|*.gif|Fichiers BMP (*.bmp)|*.bmp|Tous les fichiers (*.*)|*.*</translation>
    </message>
    <message>
        <source>Choose Back Color</source>
        <translation>Choisir la couleur de fond</translation>
    </message>
    <message>
        <source>Load Icon</source>
        <translation>Charger une icône</translation>
    </message>
    <message>
        <source>The picture
%1
is too large to open.

Save a smaller copy of it, or of its top-left corner, and load that.</source>
        <translation>L’image
%1
est trop grande pour être ouverte.

Enregistrez-en une copie plus petite, ou de son coin supérieur gauche, et chargez celle-ci.</translation>
    </message>
    <message>
        <source>Save Icon</source>
        <translation>Sauver l’icône</translation>
    </message>
    <message>
        <source>The icon could not be saved to
%1

%2</source>
        <translation>L’icône n’a pas pu être sauvée dans
%1

%2</translation>
    </message>
    <message>
        <source>Text To Add:</source>
        <translation>Texte à ajouter :</translation>
    </message>
    <message>
        <source>Choose New Icon Color</source>
        <translation>Choisir la couleur du texte</translation>
    </message>
    <message>
        <source>Add Text</source>
        <comment>the prompt&apos;s title</comment>
        <translation>Nouveau texte</translation>
    </message>
    <message>
        <source>The file
%1
cannot be opened: %2.</source>
        <translation>Le fichier
%1
ne peut pas être ouvert : %2.</translation>
    </message>
</context>
<context>
    <name>avatello::Form2</name>
    <message>
        <source>Move Text</source>
        <translation>Déplacer</translation>
    </message>
    <message>
        <source>Move Text: press Tab for the buttons</source>
        <translation>Déplacer le texte : Tab pour aller aux boutons</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>En haut</translation>
    </message>
    <message>
        <source>Move Left</source>
        <translation>À gauche</translation>
    </message>
    <message>
        <source>Move Right</source>
        <translation>À droite</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>En bas</translation>
    </message>
</context>
<context>
    <name>avatello::Form3</name>
    <message>
        <source>Avatello Help</source>
        <translation>Aide d’Avatello</translation>
    </message>
    <message>
        <source>Topics</source>
        <translation>Sujets</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Texte d’aide</translation>
    </message>
</context>
<context>
    <name>avatello::Form4</name>
    <message>
        <source>Change Font</source>
        <translation>Police</translation>
    </message>
    <message>
        <source>Change Font: press Tab for the lists</source>
        <translation>Changer la police : Tab pour aller aux listes</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Police</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>avatello::Form5</name>
    <message>
        <source>Templates</source>
        <translation>Modèles</translation>
    </message>
    <message>
        <source>Template %1</source>
        <translation>Modèle %1</translation>
    </message>
</context>
<context>
    <name>avatello::HelpTopics</name>
    <message>
        <source>Load</source>
        <translation>Charger</translation>
    </message>
    <message>
        <source>Load a 50x50 buddy icon from the supported file formats (jpg, gif, bmp).</source>
        <translation>Charge une icône de contact de 50x50 depuis l’un des formats pris en charge (jpg, gif, bmp).</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Sauver</translation>
    </message>
    <message>
        <source>The icon on the right is the finished product. Save your icon to a folder of your choice, choose between the supported file formats or All Files. You must click Update before saving.</source>
        <translation>L’icône de droite est le résultat final. Sauvez votre icône dans le dossier de votre choix, en choisissant l’un des formats pris en charge ou Tous les fichiers. Cliquez sur Terminé avant de sauver.</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>Create a new blank icon from a color of your choice, it will erase the existing icon. Choose AIM Back Color for an icon that looks transparent when a user views it on AIM. Template has pre-made icons for you to add your text, double click the desired icon to load it.</source>
        <translation>Crée une nouvelle icône vide de la couleur de votre choix ; l’icône actuelle est effacée. Choisissez Couleur de fond AIM pour une icône qui paraît transparente sur AIM. Modèles propose des icônes toutes prêtes pour y ajouter votre texte ; double-cliquez sur l’icône voulue pour la charger.</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>This will update the icon on the right, you must click this before saving.</source>
        <translation>Met à jour l’icône de droite ; cliquez ici avant de sauver.</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
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
        <translation>Ajouter du texte - Ajoute du texte à votre icône. Annuler le retire.<byte value="xd"/>
---------------<byte value="xd"/>
Déplacer le texte - Déplace le dernier texte ajouté pour qu’il tienne dans votre icône.<byte value="xd"/>
---------------<byte value="xd"/>
Changer la police - Change la police et la taille ; par défaut Tahoma, taille 8. Pour changer ces réglages, faites-le avant d’ajouter votre texte.<byte value="xd"/>
---------------<byte value="xd"/>
Couleur du texte - Choisissez votre couleur avant d’ajouter du texte, sinon votre texte aura la couleur par défaut (noir).<byte value="xd"/>
---------------<byte value="xd"/>
Couleur de fond - Change la couleur de fond de votre icône. Pour la changer, faites-le avant d’ajouter du texte. Choisissez Couleur de fond AIM pour la couleur habituelle d’AIM : l’icône paraîtra transparente, sauf l’image et le texte.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Autres</translation>
    </message>
    <message>
        <source>Option to minimize the program, view about and help.</source>
        <translation>Réduire le programme, voir À propos et l’aide.</translation>
    </message>
    <message>
        <source>Avatello Help<byte value="xd"/>
&lt;-- Choose Topic<byte value="xd"/>
</source>
        <translation>Aide d’Avatello<byte value="xd"/>
&lt;-- Choisissez un sujet<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>avatello::Program</name>
    <message>
        <source>%1; starting without it</source>
        <translation>%1 ; démarrage sans ce fichier</translation>
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
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>avatello::Refusal</name>
    <message>
        <source>not a BMP, GIF or JPEG picture, or a damaged one</source>
        <translation>ce n&apos;est pas une image BMP, GIF ou JPEG, ou elle est endommagée</translation>
    </message>
    <message>
        <source>the picture is too large to open</source>
        <translation>l&apos;image est trop grande pour être ouverte</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>ce fichier n&apos;existe pas</translation>
    </message>
    <message>
        <source>a link to a file that does not exist</source>
        <translation>un lien vers un fichier qui n&apos;existe pas</translation>
    </message>
    <message>
        <source>a folder, not a picture file</source>
        <translation>un dossier, pas un fichier d&apos;image</translation>
    </message>
    <message>
        <source>a named pipe, device or socket, not a picture file</source>
        <translation>un tube nommé, un périphérique ou une socket, pas un fichier d&apos;image</translation>
    </message>
    <message>
        <source>not allowed to read it</source>
        <translation>lecture non autorisée</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>le fichier ne peut pas être lu</translation>
    </message>
    <message>
        <source>a file on another computer</source>
        <translation>un fichier sur un autre ordinateur</translation>
    </message>
    <message>
        <source>a name that no file can have</source>
        <translation>un nom qu’aucun fichier ne peut porter</translation>
    </message>
</context>
<context>
    <name>avatello::maker</name>
    <message>
        <source>the Avatello developers</source>
        <translation>les développeurs d’Avatello</translation>
    </message>
</context>
</TS>
