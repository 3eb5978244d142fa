<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>reports::ExportFilter</name>
    <message>
        <source>Exporting page %1 of %2</source>
        <translation>Exportando la página %1 de %2</translation>
    </message>
</context>
<context>
    <name>reports::PreviewWindow</name>
    <message>
        <source>Toolbar</source>
        <translation>Barra de herramientas</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Página %1 de %2</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Página</translation>
    </message>
    <message>
        <source>of %1</source>
        <translation>de %1</translation>
    </message>
</context>
<context>
    <name>reports::Report</name>
    <message>
        <source>Running the report: page %1</source>
        <translation>Generando el informe: página %1</translation>
    </message>
</context>
<context>
    <name>reports::Toolbar</name>
    <message>
        <source>Actual size</source>
        <translation>Tamaño real</translation>
    </message>
    <message>
        <source>Zoom to %1%</source>
        <translation>Zoom al %1%</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Imprimir...</translation>
    </message>
    <message>
        <source>Print the report</source>
        <translation>Imprimir el informe</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>Primera página</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Página anterior</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Página siguiente</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Última página</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Página</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Alejar</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Acercar</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Ajustar al ancho</translation>
    </message>
    <message>
        <source>Fit the page&apos;s width</source>
        <translation>Ajustar al ancho de la página</translation>
    </message>
    <message>
        <source>Fit Page</source>
        <translation>Página entera</translation>
    </message>
    <message>
        <source>Fit the whole page</source>
        <translation>Mostrar la página entera</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Close the preview</source>
        <translation>Cerrar la vista previa</translation>
    </message>
</context>
<context>
    <name>reports::WriteFailure</name>
    <message>
        <source>no file was named</source>
        <translation>no se indicó ningún archivo</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>la carpeta no existe</translation>
    </message>
    <message>
        <source>you may not write in the folder</source>
        <translation>no tiene permiso para escribir en la carpeta</translation>
    </message>
    <message>
        <source>a folder has that name</source>
        <translation>hay una carpeta con ese nombre</translation>
    </message>
    <message>
        <source>another program holds the file locked</source>
        <translation>otro programa tiene el archivo bloqueado</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>el archivo es de solo lectura</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>el disco está lleno</translation>
    </message>
    <message>
        <source>the file is too large for the disk</source>
        <translation>el archivo es demasiado grande para el disco</translation>
    </message>
    <message>
        <source>the disk is read-only</source>
        <translation>el disco es de solo lectura</translation>
    </message>
    <message>
        <source>the disk could not be written</source>
        <translation>no se pudo escribir en el disco</translation>
    </message>
    <message>
        <source>The report could not be exported to &quot;%1&quot;: %2.</source>
        <translation>No se pudo exportar el informe a &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>The report could not be printed on &quot;%1&quot;: %2.</source>
        <translation>No se pudo imprimir el informe en &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>the printer did not take it</source>
        <translation>la impresora no lo aceptó</translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation>no se pudo escribir el archivo</translation>
    </message>
</context>
</TS>
