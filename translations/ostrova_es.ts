<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AppListModel</name>
    <message>
        <source>Inside “%1”</source>
        <translation>Dentro de «%1»</translation>
    </message>
    <message>
        <source>Not sure: the search for installed copies ran out of time</source>
        <translation>No se sabe: la búsqueda de copias instaladas agotó el tiempo</translation>
    </message>
    <message>
        <source>Application bundle: %1</source>
        <translation>Paquete de la aplicación: %1</translation>
    </message>
    <message>
        <source>Scanning...</source>
        <translation>Analizando...</translation>
    </message>
    <message>
        <source>Not sure</source>
        <translation>No se sabe</translation>
    </message>
    <message>
        <source>Not opened for more than 90 days</source>
        <translation>Sin abrir desde hace más de 90 días</translation>
    </message>
    <message>
        <source>Dates in orange: not opened for more than 90 days</source>
        <translation>Fechas en naranja: sin abrir desde hace más de 90 días</translation>
    </message>
</context>
<context>
    <name>ByteCount</name>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 TB</translation>
    </message>
    <message>
        <source>%1 PB</source>
        <translation>%1 PB</translation>
    </message>
    <message>
        <source>%1 EB</source>
        <translation>%1 EB</translation>
    </message>
    <message>
        <source>Zero KB</source>
        <translation>Cero KB</translation>
    </message>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation>
            <numerusform>%n byte</numerusform>
            <numerusform>%n bytes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Category</name>
    <message>
        <source>Program files</source>
        <translation>Archivos del programa</translation>
    </message>
    <message>
        <source>Supporting documents</source>
        <translation>Documentos de soporte</translation>
    </message>
    <message>
        <source>Cache files</source>
        <translation>Archivos de caché</translation>
    </message>
    <message>
        <source>Preferences files</source>
        <translation>Archivos de preferencias</translation>
    </message>
    <message>
        <source>Status files</source>
        <translation>Archivos de estado</translation>
    </message>
    <message>
        <source>Crash Reporter</source>
        <translation>Informes de fallos</translation>
    </message>
    <message>
        <source>Log files</source>
        <translation>Archivos de registro</translation>
    </message>
    <message>
        <source>Sandbox files</source>
        <translation>Archivos del sandbox</translation>
    </message>
    <message>
        <source>Daemon</source>
        <translation>Daemon</translation>
    </message>
    <message>
        <source>Login item</source>
        <translation>Ítem de inicio</translation>
    </message>
    <message>
        <source>Other files</source>
        <translation>Otros archivos</translation>
    </message>
    <message>
        <source>Cookies</source>
        <translation>Cookies</translation>
    </message>
</context>
<context>
    <name>ExclusionsWindowController</name>
    <message>
        <source>Exclusions</source>
        <translation>Exclusiones</translation>
    </message>
    <message>
        <source>Ostrova never offers these items and never removes or resets these applications.</source>
        <translation>Ostrova nunca ofrece estos elementos y nunca elimina ni restablece estas aplicaciones.</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Elemento</translation>
    </message>
    <message>
        <source>Applies to</source>
        <translation>Se aplica a</translation>
    </message>
    <message>
        <source>Excluded items and protected applications</source>
        <translation>Elementos excluidos y aplicaciones protegidas</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Listo</translation>
    </message>
    <message>
        <source>Every application</source>
        <translation>Todas las aplicaciones</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Protected, always</source>
        <translation>Siempre protegida</translation>
    </message>
    <message>
        <source>Protected application</source>
        <translation>Aplicación protegida</translation>
    </message>
    <message numerus="yes">
        <source>%n entries of the stored exclusions could not be read and were left out.</source>
        <translation>
            <numerusform>%n entrada de las exclusiones guardadas no se pudo leer y se omitió.</numerusform>
            <numerusform>%n entradas de las exclusiones guardadas no se pudieron leer y se omitieron.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FolderAccess</name>
    <message>
        <source>Allow access to this path</source>
        <translation>Permitir acceso a esta ruta</translation>
    </message>
</context>
<context>
    <name>MainViewController</name>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Recently used</source>
        <translation>Último uso</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>All applications</source>
        <translation>Todas las aplicaciones</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Aplicaciones</translation>
    </message>
    <message>
        <source>Remains</source>
        <translation>Restos</translation>
    </message>
    <message>
        <source>Remains of removed applications</source>
        <translation>Restos de aplicaciones eliminadas</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Uninstall</source>
        <translation>Desinstalar</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Search applications</source>
        <translation>Buscar aplicaciones</translation>
    </message>
    <message>
        <source>Applications and their files</source>
        <translation>Aplicaciones y sus archivos</translation>
    </message>
    <message>
        <source>Show installed applications</source>
        <translation>Mostrar las aplicaciones instaladas</translation>
    </message>
    <message>
        <source>Show remains of removed applications</source>
        <translation>Mostrar restos de aplicaciones eliminadas</translation>
    </message>
    <message>
        <source>Uninstall the ticked applications</source>
        <translation>Desinstalar las aplicaciones marcadas</translation>
    </message>
    <message>
        <source>Offer to remove what applications dragged to the Trash leave</source>
        <translation>Ofrecer eliminar lo que dejan las apps arrastradas a la Papelera</translation>
    </message>
    <message>
        <source>Force quit may result in loss of data being edited</source>
        <translation>Forzar la salida puede hacer perder los datos que se están editando</translation>
    </message>
    <message>
        <source>%1 is running, do you want to force quit?</source>
        <translation>%1 está en ejecución. ¿Quieres forzar la salida?</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Force quit</source>
        <translation>Forzar salida</translation>
    </message>
    <message>
        <source>Remains (%1)</source>
        <translation>Restos (%1)</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Please select the file to delete</source>
        <translation>Selecciona el archivo que quieres eliminar</translation>
    </message>
    <message>
        <source>The application is not installed in the /Applications directory. To ensure full functionality, please move the application to that directory.</source>
        <translation>La aplicación no está instalada en la carpeta /Applications. Para que funcione por completo, muévela a esa carpeta.</translation>
    </message>
    <message numerus="yes">
        <source>%n application(s) selected</source>
        <translation>
            <numerusform>%n aplicación seleccionada</numerusform>
            <numerusform>%n aplicaciones seleccionadas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Remains, not included</source>
        <translation>
            <numerusform>%n marcado en Restos, no incluido</numerusform>
            <numerusform>%n marcados en Restos, no incluidos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Applications, not included</source>
        <translation>
            <numerusform>%n marcada en Aplicaciones, no incluida</numerusform>
            <numerusform>%n marcadas en Aplicaciones, no incluidas</numerusform>
        </translation>
    </message>
    <message>
        <source>Unprotect</source>
        <translation>Dejar de proteger</translation>
    </message>
    <message>
        <source>Protect</source>
        <translation>Proteger</translation>
    </message>
    <message>
        <source>Never offer this…</source>
        <translation>No volver a ofrecer…</translation>
    </message>
    <message>
        <source>Never offer “%1”?</source>
        <translation>¿No volver a ofrecer «%1»?</translation>
    </message>
    <message>
        <source>The folder and everything inside it are kept. Keep it for this application only, or for every application?</source>
        <translation>La carpeta y todo su contenido se conservan. ¿Conservarla solo para esta aplicación o para todas las aplicaciones?</translation>
    </message>
    <message>
        <source>The file is kept. Keep it for this application only, or for every application?</source>
        <translation>El archivo se conserva. ¿Conservarlo solo para esta aplicación o para todas las aplicaciones?</translation>
    </message>
    <message>
        <source>Only for “%1”</source>
        <translation>Solo para «%1»</translation>
    </message>
    <message>
        <source>For Every Application</source>
        <translation>Para todas las aplicaciones</translation>
    </message>
    <message>
        <source>Exclusions…</source>
        <translation>Exclusiones…</translation>
    </message>
    <message>
        <source>What is never offered, and the protected applications</source>
        <translation>Lo que nunca se ofrece y las aplicaciones protegidas</translation>
    </message>
    <message>
        <source>Show the exclusions and protected applications</source>
        <translation>Mostrar las exclusiones y las aplicaciones protegidas</translation>
    </message>
    <message>
        <source>Reset…</source>
        <translation>Restablecer…</translation>
    </message>
</context>
<context>
    <name>NotificationView</name>
    <message>
        <source>App cleanup reminder</source>
        <translation>Recordatorio de limpieza de apps</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Analizar</translation>
    </message>
    <message>
        <source>Scan your applications</source>
        <translation>Analiza tus aplicaciones</translation>
    </message>
    <message numerus="yes">
        <source>%n application(s) not opened for more than 90 days. Scan and uninstall to free up space.</source>
        <translation>
            <numerusform>%n aplicación sin abrir desde hace más de 90 días. Analiza y desinstala para liberar espacio.</numerusform>
            <numerusform>%n aplicaciones sin abrir desde hace más de 90 días. Analiza y desinstala para liberar espacio.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PutBackReportText</name>
    <message>
        <source>Nothing was put back.</source>
        <translation>No se ha devuelto nada.</translation>
    </message>
    <message>
        <source>The items were put back, but some launch jobs could not be loaded again.</source>
        <translation>Se han devuelto los ítems, pero algunas tareas de arranque no se han podido volver a cargar.</translation>
    </message>
    <message>
        <source>Some items could not be put back.</source>
        <translation>Algunos ítems no se han podido devolver.</translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>Se ha devuelto %n ítem (%1).</numerusform>
            <numerusform>Se han devuelto %n ítems (%1).</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>its place is taken</source>
        <translation>su sitio está ocupado</translation>
    </message>
    <message>
        <source>emptied from the Trash</source>
        <translation>eliminado al vaciar la Papelera</translation>
    </message>
    <message>
        <source>it could not be moved back</source>
        <translation>no se ha podido devolver</translation>
    </message>
    <message>
        <source>deleted, not in the Trash</source>
        <translation>eliminado, no está en la Papelera</translation>
    </message>
    <message>
        <source>already put back</source>
        <translation>ya se había devuelto</translation>
    </message>
    <message>
        <source>put back, but its launch job could not be loaded again</source>
        <translation>devuelto, pero su tarea de arranque no se ha podido volver a cargar</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what goes back outside your home folder stayed in the Trash.</source>
        <translation>No se introdujo la contraseña de administrador, así que lo que va fuera de tu carpeta de inicio sigue en la Papelera.</translation>
    </message>
</context>
<context>
    <name>RemainsPanelView</name>
    <message>
        <source>%1 left %2 behind</source>
        <translation>%1 ha dejado %2</translation>
    </message>
    <message>
        <source>%1 was moved to the Trash, but its settings, caches and other files are still on this Mac. Remove them too?</source>
        <translation>%1 se movió a la Papelera, pero sus ajustes, cachés y otros archivos siguen en este Mac. ¿Eliminarlos también?</translation>
    </message>
    <message>
        <source>%1 were moved to the Trash, but their settings, caches and other files are still on this Mac. Remove them too?</source>
        <translation>%1 se movieron a la Papelera, pero sus ajustes, cachés y otros archivos siguen en este Mac. ¿Eliminarlos también?</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 y %2</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Ahora no</translation>
    </message>
    <message>
        <source>&amp;Review</source>
        <translation>&amp;Revisar</translation>
    </message>
    <message>
        <source>Remove remains</source>
        <translation>Eliminar restos</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Removing the remains...</source>
        <translation>Eliminando los restos...</translation>
    </message>
    <message>
        <source>Removed what %1 left</source>
        <translation>Se ha eliminado lo que dejó %1</translation>
    </message>
    <message>
        <source>Nothing removed of what %1 left</source>
        <translation>No se ha eliminado nada de lo que dejó %1</translation>
    </message>
    <message>
        <source>Could not remove what %1 left</source>
        <translation>No se ha podido eliminar lo que dejó %1</translation>
    </message>
    <message>
        <source>Removed part of what %1 left</source>
        <translation>Se ha eliminado parte de lo que dejó %1</translation>
    </message>
    <message numerus="yes">
        <source>Moved %n item(s) (%1) to the Trash; emptying the Trash frees the space.</source>
        <translation>
            <numerusform>Se ha movido %n ítem (%1) a la Papelera; al vaciarla se libera el espacio.</numerusform>
            <numerusform>Se han movido %n ítems (%1) a la Papelera; al vaciarla se libera el espacio.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Removed %n item(s) (%1).</source>
        <translation>
            <numerusform>Se ha eliminado %n ítem (%1).</numerusform>
            <numerusform>Se han eliminado %n ítems (%1).</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of this removal could not be written, so it cannot be put back.</source>
        <translation>No se ha podido guardar el registro de esta eliminación, así que no se puede devolver.</translation>
    </message>
    <message>
        <source>Left, as an application with the same identifier is installed again: %1.</source>
        <translation>Se han conservado porque vuelve a haber instalada una aplicación con el mismo identificador: %1.</translation>
    </message>
    <message>
        <source>Left, as another file now lies in their place: %1.</source>
        <translation>Se han conservado porque ahora hay otro archivo en su lugar: %1.</translation>
    </message>
    <message>
        <source>Left, as they could not be removed: %1.</source>
        <translation>Se han conservado porque no se han podido eliminar: %1.</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what lies outside your home folder was left.</source>
        <translation>No se introdujo la contraseña de administrador, así que se ha conservado lo que está fuera de tu carpeta de inicio.</translation>
    </message>
    <message numerus="yes">
        <source>%n applications left %1 behind</source>
        <translation>
            <numerusform>%n aplicación ha dejado %1</numerusform>
            <numerusform>%n aplicaciones han dejado %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 y %n más</numerusform>
            <numerusform>%1 y %n más</numerusform>
        </translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>Devolver</translation>
    </message>
    <message numerus="yes">
        <source>%n more</source>
        <translation>
            <numerusform>%n más</numerusform>
            <numerusform>%n más</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n application(s)</source>
        <translation>
            <numerusform>%n aplicación</numerusform>
            <numerusform>%n aplicaciones</numerusform>
        </translation>
    </message>
    <message>
        <source>Putting back…</source>
        <translation>Devolviendo…</translation>
    </message>
    <message>
        <source>Put back what %1 left</source>
        <translation>Se ha devuelto lo que dejó %1</translation>
    </message>
    <message>
        <source>Nothing put back of what %1 left</source>
        <translation>No se ha devuelto nada de lo que dejó %1</translation>
    </message>
    <message>
        <source>Put back part of what %1 left</source>
        <translation>Se ha devuelto parte de lo que dejó %1</translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>Se ha devuelto %n ítem (%1).</numerusform>
            <numerusform>Se han devuelto %n ítems (%1).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) stayed away: their place is taken, they were emptied from the Trash or could not be moved.</source>
        <translation>
            <numerusform>%n ítem no se ha devuelto: su sitio está ocupado, se vació la Papelera o no se pudo mover.</numerusform>
            <numerusform>%n ítems no se han devuelto: su sitio está ocupado, se vació la Papelera o no se pudieron mover.</numerusform>
        </translation>
    </message>
    <message>
        <source>Some launch jobs could not be loaded again.</source>
        <translation>Algunas tareas de arranque no se han podido volver a cargar.</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what goes back outside your home folder stayed in the Trash.</source>
        <translation>No se introdujo la contraseña de administrador, así que lo que va fuera de tu carpeta de inicio sigue en la Papelera.</translation>
    </message>
</context>
<context>
    <name>RequestUninstallWinodowController</name>
    <message>
        <source>Ticked items: %1</source>
        <translation>Ítems marcados: %1</translation>
    </message>
    <message>
        <source>These need an administrator&apos;s password:</source>
        <translation>Estos requieren la contraseña de administrador:</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>y %n más</numerusform>
            <numerusform>y %n más</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scroll to see all %n.</source>
        <translation>
            <numerusform>Desplázate para ver %n.</numerusform>
            <numerusform>Desplázate para ver los %n.</numerusform>
        </translation>
    </message>
    <message>
        <source>Delete immediately instead of moving to the Trash</source>
        <translation>Eliminar inmediatamente en lugar de mover a la Papelera</translation>
    </message>
    <message>
        <source>Delete what cannot be moved to the Trash</source>
        <translation>Eliminar lo que no se pueda mover a la Papelera</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Continue uninstall</source>
        <translation>Continuar desinstalación</translation>
    </message>
    <message>
        <source>Remove the remains of “%1”?</source>
        <translation>¿Eliminar los restos de «%1»?</translation>
    </message>
    <message>
        <source>Uninstall “%1”?</source>
        <translation>¿Desinstalar «%1»?</translation>
    </message>
    <message numerus="yes">
        <source>Remove the remains of %n application(s)?</source>
        <translation>
            <numerusform>¿Eliminar los restos de %n aplicación?</numerusform>
            <numerusform>¿Eliminar los restos de %n aplicaciones?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstall %n application(s)?</source>
        <translation>
            <numerusform>¿Desinstalar %n aplicación?</numerusform>
            <numerusform>¿Desinstalar %n aplicaciones?</numerusform>
        </translation>
    </message>
    <message>
        <source>Reset “%1”?</source>
        <translation>¿Restablecer «%1»?</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Restablecer</translation>
    </message>
    <message>
        <source>%1 stays installed. Its settings, caches and other data (%2) are deleted.</source>
        <translation>%1 sigue instalada. Sus ajustes, cachés y otros datos (%2) se eliminan.</translation>
    </message>
    <message>
        <source>%1 stays installed. Its settings, caches and other data (%2) go to the Trash; you can put them back.</source>
        <translation>%1 sigue instalada. Sus ajustes, cachés y otros datos (%2) van a la Papelera; puedes devolverlos.</translation>
    </message>
</context>
<context>
    <name>RkContainerView</name>
    <message>
        <source>Grant access</source>
        <translation>Conceder acceso</translation>
    </message>
</context>
<context>
    <name>RkLoadAppView</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Please wait, searching...</source>
        <translation>Espera, buscando...</translation>
    </message>
</context>
<context>
    <name>SandboxAuthorizeWindowController</name>
    <message>
        <source>Grant %1 access to the following directories</source>
        <translation>Concede a %1 acceso a estas carpetas</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>Librería</translation>
    </message>
    <message>
        <source>Search for background apps, logs, etc. installed in non-standard directories</source>
        <translation>Buscar apps en segundo plano, registros, etc. instalados en carpetas no estándar</translation>
    </message>
    <message>
        <source>App Containers</source>
        <translation>Contenedores de apps</translation>
    </message>
    <message>
        <source>Search for data stored in the container directory corresponding to the installed App</source>
        <translation>Buscar datos guardados en la carpeta contenedora de la app instalada</translation>
    </message>
    <message>
        <source>macOS</source>
        <translation>macOS</translation>
    </message>
    <message>
        <source>Find all existing apps and corresponding data, dependency files, log files, etc.</source>
        <translation>Buscar todas las apps y sus datos, dependencias, archivos de registro, etc.</translation>
    </message>
</context>
<context>
    <name>UninstallCompletedViewController</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Terminar</translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>Devolver</translation>
    </message>
    <message>
        <source>Put Back: return everything to where it was</source>
        <translation>Devolver: dejar todo donde estaba</translation>
    </message>
    <message>
        <source>Finish and return to the list</source>
        <translation>Terminar y volver a la lista</translation>
    </message>
    <message numerus="yes">
        <source>The remains of the following application(s) have been removed.</source>
        <translation>
            <numerusform>Se han eliminado los restos de la siguiente aplicación.</numerusform>
            <numerusform>Se han eliminado los restos de las siguientes aplicaciones.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been uninstalled.</source>
        <translation>
            <numerusform>Se ha desinstalado la siguiente aplicación.</numerusform>
            <numerusform>Se han desinstalado las siguientes aplicaciones.</numerusform>
        </translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what lies outside your home folder was left.</source>
        <translation>No se introdujo la contraseña de administrador, así que se ha conservado lo que está fuera de tu carpeta de inicio.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as an application with the same identifier is installed again.</source>
        <translation>
            <numerusform>Se ha conservado %n ítem porque vuelve a haber instalada una aplicación con el mismo identificador.</numerusform>
            <numerusform>Se han conservado %n ítems porque vuelve a haber instalada una aplicación con el mismo identificador.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as another file now lies in their place.</source>
        <translation>
            <numerusform>Se ha conservado %n ítem porque ahora hay otro archivo en su lugar.</numerusform>
            <numerusform>Se han conservado %n ítems porque ahora hay otro archivo en su lugar.</numerusform>
        </translation>
    </message>
    <message>
        <source>Moved %1 to the Trash. Empty the Trash to free the space.</source>
        <translation>Se ha movido %1 a la Papelera. Vacía la Papelera para liberar el espacio.</translation>
    </message>
    <message>
        <source>The record of this removal could not be written: Put Back works only until Ostrova quits.</source>
        <translation>No se ha podido guardar el registro de esta eliminación: Devolver solo funciona hasta que se cierre Ostrova.</translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been reset. They stay installed.</source>
        <translation>
            <numerusform>La siguiente aplicación se ha restablecido. Sigue instalada.</numerusform>
            <numerusform>Las siguientes aplicaciones se han restablecido. Siguen instaladas.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UninstallResidualViewController</name>
    <message>
        <source>Some apps were not completely uninstalled, residual files left</source>
        <translation>Algunas apps no se han desinstalado por completo y quedan archivos residuales</translation>
    </message>
    <message>
        <source>Please manually delete the residual files.</source>
        <translation>Elimina manualmente los archivos residuales.</translation>
    </message>
    <message>
        <source>The following App has uninstallation&apos;s leftover files.</source>
        <translation>La siguiente app tiene archivos residuales de la desinstalación.</translation>
    </message>
    <message>
        <source>Some data of the reset applications was left</source>
        <translation>Quedaron algunos datos de las aplicaciones restablecidas</translation>
    </message>
</context>
<context>
    <name>UninstallingViewController</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Cancelando...</translation>
    </message>
    <message numerus="yes">
        <source>Removing the remains of %n application(s)…</source>
        <translation>
            <numerusform>Eliminando los restos de %n aplicación…</numerusform>
            <numerusform>Eliminando los restos de %n aplicaciones…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstalling %n application(s)…</source>
        <translation>
            <numerusform>Desinstalando %n aplicación…</numerusform>
            <numerusform>Desinstalando %n aplicaciones…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Resetting %n application(s)…</source>
        <translation>
            <numerusform>Restableciendo %n aplicación…</numerusform>
            <numerusform>Restableciendo %n aplicaciones…</numerusform>
        </translation>
    </message>
</context>
</TS>
