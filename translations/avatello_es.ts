<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>avatello::Form1</name>
    <message>
        <source>Avatello: press Tab for the buttons</source>
        <translation>Avatello: Tab para ir a los botones</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Cargar</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nuevo</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Listo</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Otros</translation>
    </message>
    <message>
        <source>Icon To Edit</source>
        <translation>Icono en edición</translation>
    </message>
    <message>
        <source>The 48 by 48 pixel icon being edited. A press sets where text goes.</source>
        <translation>El icono de 48 por 48 píxeles que se está editando. Un clic indica dónde va el texto.</translation>
    </message>
    <message>
        <source>arrow</source>
        <translation>flecha</translation>
    </message>
    <message>
        <source>Finished Icon</source>
        <translation>Icono terminado</translation>
    </message>
    <message>
        <source>The finished icon that Save writes. Finished copies the icon to it.</source>
        <translation>El icono terminado que escribe Guardar. Listo copia el icono aquí.</translation>
    </message>
    <message>
        <source>Undo copy</source>
        <translation>Copia para Deshacer</translation>
    </message>
    <message>
        <source>Empty picture</source>
        <translation>Imagen vacía</translation>
    </message>
    <message>
        <source>Text position across</source>
        <translation>Posición horizontal del texto</translation>
    </message>
    <message>
        <source>Text position down</source>
        <translation>Posición vertical del texto</translation>
    </message>
    <message>
        <source>New Blank Icon</source>
        <translation>Nuevo icono blanco</translation>
    </message>
    <message>
        <source>New Black Icon</source>
        <translation>Nuevo icono negro</translation>
    </message>
    <message>
        <source>Choose Color</source>
        <translation>Elegir color</translation>
    </message>
    <message>
        <source>AIM Back Color</source>
        <comment>New menu: a new icon</comment>
        <translation>Color de fondo de AIM</translation>
    </message>
    <message>
        <source>Templates</source>
        <translation>Plantillas</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>The Best Page In The Universe</source>
        <translation>La mejor página del universo</translation>
    </message>
    <message>
        <source>Add Text</source>
        <translation>Añadir texto</translation>
    </message>
    <message>
        <source>Move Text</source>
        <translation>Mover texto</translation>
    </message>
    <message>
        <source>Change Font</source>
        <translation>Cambiar fuente</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Color del texto</translation>
    </message>
    <message>
        <source>Back Color</source>
        <translation>Color de fondo</translation>
    </message>
    <message>
        <source>AIM Back Color</source>
        <comment>Edit menu: the background only</comment>
        <translation>Color de fondo de AIM</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>The web page %1 could not be opened.</source>
        <translation>No se pudo abrir la página web %1.</translation>
    </message>
    <message>
        <source>Avatello/Maker</source>
        <translation>Avatello/Creador</translation>
    </message>
    <message>
        <source>Made By </source>
        <translation>Hecho por </translation>
    </message>
    <message>
        <source>Contact: </source>
        <translation>Contacto: </translation>
    </message>
    <message>
        <source>Visit: </source>
        <translation>Web: </translation>
    </message>
    <message>
        <source>About Avatello</source>
        <translation>Acerca de Avatello</translation>
    </message>
    <message>
        <source>All Files (*.*)|*.*|JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp</source>
        <extracomment>Translate the descriptions only: the patterns and the bars between them stay as they are.</extracomment>
        <translation>Todos los archivos (*.*)|*.*|Archivos JPG (*.jpg)|*.jpg|Archivos GIF (*.gif)|*.gif|Archivos BMP (*.bmp)|*.bmp</translation>
    </message>
    <message>
        <source>JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp|All Files (*.*)|*.*</source>
        <extracomment>Translate the descriptions only: the patterns and the bars between them stay as they are.</extracomment>
        <translation>Archivos JPG (*.jpg)|*.jpg|Archivos GIF (*.gif)|*.gif|Archivos BMP (*.bmp)|*.bmp|Todos los archivos (*.*)|*.*</translation>
    </message>
    <message>
        <source>Choose Back Color</source>
        <translation>Elegir color de fondo</translation>
    </message>
    <message>
        <source>Load Icon</source>
        <translation>Cargar icono</translation>
    </message>
    <message>
        <source>The picture
%1
is too large to open.

Save a smaller copy of it, or of its top-left corner, and load that.</source>
        <translation>La imagen
%1
es demasiado grande para abrirla.

Guarde una copia más pequeña de ella, o de su esquina superior izquierda, y cargue esa.</translation>
    </message>
    <message>
        <source>Save Icon</source>
        <translation>Guardar icono</translation>
    </message>
    <message>
        <source>The icon could not be saved to
%1

%2</source>
        <translation>No se pudo guardar el icono en
%1

%2</translation>
    </message>
    <message>
        <source>Text To Add:</source>
        <translation>Texto que añadir:</translation>
    </message>
    <message>
        <source>Choose New Icon Color</source>
        <translation>Elegir color del texto</translation>
    </message>
    <message>
        <source>Add Text</source>
        <comment>the prompt&apos;s title</comment>
        <translation>Texto nuevo</translation>
    </message>
    <message>
        <source>The file
%1
cannot be opened: %2.</source>
        <translation>El archivo
%1
no se puede abrir: %2.</translation>
    </message>
</context>
<context>
    <name>avatello::Form2</name>
    <message>
        <source>Move Text</source>
        <translation>Mover</translation>
    </message>
    <message>
        <source>Move Text: press Tab for the buttons</source>
        <translation>Mover texto: Tab para ir a los botones</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Arriba</translation>
    </message>
    <message>
        <source>Move Left</source>
        <translation>Izquierda</translation>
    </message>
    <message>
        <source>Move Right</source>
        <translation>Derecha</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Abajo</translation>
    </message>
</context>
<context>
    <name>avatello::Form3</name>
    <message>
        <source>Avatello Help</source>
        <translation>Ayuda de Avatello</translation>
    </message>
    <message>
        <source>Topics</source>
        <translation>Temas</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Texto de ayuda</translation>
    </message>
</context>
<context>
    <name>avatello::Form4</name>
    <message>
        <source>Change Font</source>
        <translation>Fuente</translation>
    </message>
    <message>
        <source>Change Font: press Tab for the lists</source>
        <translation>Cambiar fuente: Tab para ir a las listas</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Fuente</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>avatello::Form5</name>
    <message>
        <source>Templates</source>
        <translation>Plantillas</translation>
    </message>
    <message>
        <source>Template %1</source>
        <translation>Plantilla %1</translation>
    </message>
</context>
<context>
    <name>avatello::HelpTopics</name>
    <message>
        <source>Load</source>
        <translation>Cargar</translation>
    </message>
    <message>
        <source>Load a 50x50 buddy icon from the supported file formats (jpg, gif, bmp).</source>
        <translation>Carga un icono de contacto de 50x50 desde uno de los formatos admitidos (jpg, gif, bmp).</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>The icon on the right is the finished product. Save your icon to a folder of your choice, choose between the supported file formats or All Files. You must click Update before saving.</source>
        <translation>El icono de la derecha es el resultado final. Guarde su icono en la carpeta que quiera, eligiendo uno de los formatos admitidos o Todos los archivos. Antes de guardar, pulse Listo.</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nuevo</translation>
    </message>
    <message>
        <source>Create a new blank icon from a color of your choice, it will erase the existing icon. Choose AIM Back Color for an icon that looks transparent when a user views it on AIM. Template has pre-made icons for you to add your text, double click the desired icon to load it.</source>
        <translation>Crea un icono vacío nuevo del color que elija; borra el icono actual. Elija Color de fondo de AIM para un icono que parezca transparente en AIM. Plantillas ofrece iconos ya hechos para añadirles su texto; haga doble clic en el icono deseado para cargarlo.</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Listo</translation>
    </message>
    <message>
        <source>This will update the icon on the right, you must click this before saving.</source>
        <translation>Actualiza el icono de la derecha; púlselo antes de guardar.</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
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
        <translation>Añadir texto - Añade texto a su icono. Deshacer lo quita.<byte value="xd"/>
---------------<byte value="xd"/>
Mover texto - Mueve el último texto añadido para que quepa en su icono.<byte value="xd"/>
---------------<byte value="xd"/>
Cambiar fuente - Cambia la fuente y el tamaño; por omisión Tahoma, tamaño 8. Si quiere cambiarlos, hágalo antes de añadir su texto.<byte value="xd"/>
---------------<byte value="xd"/>
Color del texto - Elija su color antes de añadir texto; si no, su texto tendrá el color por omisión (negro).<byte value="xd"/>
---------------<byte value="xd"/>
Color de fondo - Cambia el color de fondo de su icono. Si quiere cambiarlo, hágalo antes de añadir texto. Elija Color de fondo de AIM para el color habitual de AIM: el icono parecerá transparente salvo la imagen y el texto.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Otros</translation>
    </message>
    <message>
        <source>Option to minimize the program, view about and help.</source>
        <translation>Minimizar el programa, ver Acerca de y la ayuda.</translation>
    </message>
    <message>
        <source>Avatello Help<byte value="xd"/>
&lt;-- Choose Topic<byte value="xd"/>
</source>
        <translation>Ayuda de Avatello<byte value="xd"/>
&lt;-- Elija un tema<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>avatello::Program</name>
    <message>
        <source>%1; starting without it</source>
        <translation>%1; se inicia sin él</translation>
    </message>
</context>
<context>
    <name>avatello::QtServices</name>
    <message>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>avatello::Refusal</name>
    <message>
        <source>not a BMP, GIF or JPEG picture, or a damaged one</source>
        <translation>no es una imagen BMP, GIF o JPEG, o está dañada</translation>
    </message>
    <message>
        <source>the picture is too large to open</source>
        <translation>la imagen es demasiado grande para abrirla</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>no existe ese archivo</translation>
    </message>
    <message>
        <source>a link to a file that does not exist</source>
        <translation>un enlace a un archivo que no existe</translation>
    </message>
    <message>
        <source>a folder, not a picture file</source>
        <translation>una carpeta, no un archivo de imagen</translation>
    </message>
    <message>
        <source>a named pipe, device or socket, not a picture file</source>
        <translation>una tubería, un dispositivo o un socket, no un archivo de imagen</translation>
    </message>
    <message>
        <source>not allowed to read it</source>
        <translation>no tiene permiso para leerlo</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>el archivo no se puede leer</translation>
    </message>
    <message>
        <source>a file on another computer</source>
        <translation>un archivo de otro ordenador</translation>
    </message>
    <message>
        <source>a name that no file can have</source>
        <translation>un nombre que ningún archivo puede tener</translation>
    </message>
</context>
<context>
    <name>avatello::maker</name>
    <message>
        <source>the Avatello developers</source>
        <translation>los desarrolladores de Avatello</translation>
    </message>
</context>
</TS>
